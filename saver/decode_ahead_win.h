#pragma once
// The picture of the slide show's next step, decoded on a worker thread
// while the saver waits out its delay, so that the step itself only takes
// the decoded block instead of spending most of its time in the decoder.
//
// The message thread never waits for the worker. One decode at a time: a
// decode that was dropped while still running (the step came first, a key
// moved elsewhere, the saver closed) runs to its end on its own and frees
// its block itself, and no new one starts before it has ended, so the
// process holds at most one picture decoded ahead. The worker holds only
// what it shares with its starter through a reference count: its own copy
// of the file name, the fit rules, the file's stamp and what it made.
//
// Given the saver's fit rules, the worker also makes the step's render work
// after the decode: the picture resampled to its place on the screen, in the
// five work images of the picture's size. The step then only blends, adjusts
// and draws. Made after the decode, the work images take no memory while the
// decoder needs most.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "imaging/extended_dib_win.h"
#include "saver/file_stamp.h"
#include "saver/screen_fit.h"
#include "winapp/handles_win.h"

namespace orvalen {

// The render work of one picture: work image 0 holds the picture resampled
// by `fit` with its edges; images 1 to 4 are the frames, of the same size,
// their memory already touched so that the step does not fault it in.
struct AheadWork {
  ScreenFitRules rules;  // what the picture was fitted by
  WorkFit fit;
  std::array<std::unique_ptr<TExtendedDib>, 5> images;

  explicit operator bool() const { return images[0] != nullptr; }
};

// What the step takes from a decode made ahead.
struct AheadPicture {
  GlobalBlock block;  // the decoded picture, as the graphics library gave it
  AheadWork work;     // empty unless asked for and the picture is rendered
};

class DecodeAhead {
 public:
  DecodeAhead() = default;
  // Drops the decode; a worker still running finishes without us.
  ~DecodeAhead();
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  // Starts decoding `path` on a worker for the step that will try `index`,
  // and with `fit` making its render work too. False, and nothing started,
  // while a worker (of a dropped decode too) is still running or when the
  // thread cannot be made.
  bool Start(int32_t index, const std::string& path, const std::optional<ScreenFitRules>& fit = std::nullopt);

  // The decode for the step that tries `index` with the file `path`: given
  // when the decode for that index and name has ended with a picture and the
  // file's size and last-write time are still those it was decoded with.
  // Empty otherwise. Either way the decode is dropped.
  AheadPicture Take(int32_t index, const std::string& path);

  // Lets go of the decode; a worker still running frees its block itself.
  void Drop();

  // Every decode started from now on posts `message` to `window` when it
  // has ended, so that a step waiting for it need not wait for a tick.
  void NotifyWhenEnded(HWND window, UINT message) {
    notifyWindow_ = window;
    notifyMessage_ = message;
  }

  // A decode for `index` is held (running or ended).
  bool Holds(int32_t index) const;
  // The decode held has ended (with a picture or without).
  bool Ended() const;
  // A worker is still running, for the decode held or one dropped.
  bool WorkerRunning() const;
  // The thread id of the last worker started, 0 before the first.
  DWORD WorkerId() const { return worker_ ? GetThreadId(worker_.Get()) : 0; }

 private:
  struct Job;
  static DWORD WINAPI Work(void* job);
  static void MakeRenderWork(Job& job);
  static bool Dropped(void* job);
  static void Release(Job* job);

  Job* job_ = nullptr;  // our reference, null when no decode is held
  KernelHandle worker_;  // the last worker started
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
};

}  // namespace orvalen
