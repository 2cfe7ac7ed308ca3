#pragma once
// The program's own command and message ids: what its windows send one
// another as WM_COMMAND ids.

namespace orvalen {

// From the image preview window to the image list page: the preview closed.
constexpr int CM_PREVIEW_CLOSED = 1500;
// From the per-image text window to the image list page: closed, and apply.
constexpr int CM_TEXT_CLOSED = 1501;
constexpr int CM_TEXT_APPLY = 1502;
// From the profiles page to the configuration dialog: reload every page from
// the active profile, or write every page into it.
constexpr int CM_PROFILE_RELOAD = 1590;
constexpr int CM_PROFILE_SAVE = 1591;
// Posted by the colour-pick button of id 555 to its parent when a colour was
// picked.
constexpr int CM_COLOR_PICKED = 666;

}  // namespace orvalen
