// Loading the slide-show images and drawing them with their transition.
#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "calendar/calendar_date.h"
#include "calendar/calendar_text.h"
#include "imaging/extended_dib_win.h"
#include "imaging/fit.h"
#include "imaging/image_error.h"
#include "imaging/median_cut_win.h"
#include "imaging/render_pass.h"
#include "saver/process_state.h"
#include "saver/screen_fit.h"
#include "saver/saver_window_win.h"
#include "saver/settings.h"
#include "saver/startup_win.h"
#include "winapp/file_system_win.h"
#include "winapp/performance_counter_win.h"
#include "winapp/private_profile.h"

namespace orvalen {
namespace {

constexpr uint32_t kFrameDelayMs = 50;

// A palette holding the system's default colours.
HPALETTE DefaultPaletteCopy() {
  PALETTEENTRY entries[256] = {};
  const UINT count = GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 256, entries);
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } palette{0x300, static_cast<WORD>(count), {}};
  std::memcpy(palette.entries, entries, count * sizeof(PALETTEENTRY));
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
}

// Milliseconds from `mark` to now; moves `mark` to now, so consecutive calls
// time consecutive phases.
double Lap(double& markMs) {
  const double now = PerformanceCounterMs();
  const double ms = now - markMs;
  markMs = now;
  return ms;
}

// The rendering's movement poll runs every 5,001 pixels, which is every few
// microseconds, while reading the cursor costs a round trip to the window
// system (0.05 to 0.2 ms under Wine, measured): thousands of reads per
// picture. The poll reads the cursor at once the first time and after that
// at most once per millisecond.
constexpr double kCursorReadIntervalMs = 1.0;

struct CursorPoll {
  TSaver* saver;
  double lastReadMs = -1;  // below 0 until the first read
};

// Hands the pixels of a 24-bit frame to a device-dependent bitmap in bands
// of 32-bit rows. The display keeps 32 bits a pixel: a 32-bit source goes in
// as it stands, where a 24-bit one would be converted pixel by pixel by the
// system, which costs more than this whole pass.
bool SetFramePixels(HDC dc, HBITMAP bitmap, const TExtendedDib& frame) {
  constexpr int32_t kBandRows = 64;
  const int32_t width = frame.Width();
  const int32_t height = frame.Height();
  std::vector<uint32_t> band(static_cast<size_t>(width) * kBandRows);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as the frame; the bands are its scan lines
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  for (int32_t first = 0; first < height; first += kBandRows) {
    const int32_t rows = std::min(kBandRows, height - first);
    for (int32_t r = 0; r < rows; ++r) {
      const uint8_t* in = frame.Bits() + static_cast<size_t>(first + r) * frame.Stride();
      uint32_t* out = band.data() + static_cast<size_t>(r) * width;
      for (int32_t x = 0; x < width; ++x, in += 3) {
        out[x] = uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16;
      }
    }
    if (SetDIBits(dc, bitmap, static_cast<UINT>(first), static_cast<UINT>(rows), band.data(), &info,
                  DIB_RGB_COLORS) != rows) {
      return false;
    }
  }
  return true;
}

}  // namespace

void ImageDeleter::operator()(TExtendedDib* image) const { delete image; }

void TSaver::PrepareAdjustments() {
  brightnessFactor_ = BrightnessFactor(Settings().brightness);
  gammaTable_ = BuildGammaTable(Settings().gamma);
}

void TSaver::LoadTile() {
  const SaverSettings& settings = Settings();
  tileLoaded_ = false;
  if (!trueColor_ || settings.useColor || !FileExists(settings.tileFile)) return;
  try {
    tile_.reset(new TExtendedDib(settings.tileFile.c_str()));
    if (LastLoadSucceeded() && !tile_->IsEmpty()) {
      tileWidth_ = tile_->Width();
      tileHeight_ = tile_->Height();
      tileLoaded_ = tileWidth_ > 0 && tileHeight_ > 0;
    }
  } catch (const ImageError&) {
    tileLoaded_ = false;
  }
  if (!tileLoaded_) tile_.reset();
}

bool TSaver::LoadImage(const std::string& fileName, AheadPicture ahead) {
  if (SortsBelowBlanks(fileName, 13) || !FileExists(fileName)) return false;
  double mark = PerformanceCounterMs();
  loadFailed_ = false;
  palette_.Reset();
  image_.reset();
  aheadWork_ = std::move(ahead.work);
  bool loaded = false;
  const bool decodedAhead = static_cast<bool>(ahead.block);
  try {
    image_.reset(decodedAhead ? new TExtendedDib(std::move(ahead.block)) : new TExtendedDib(fileName.c_str()));
    loaded = LastLoadSucceeded() && !image_->IsEmpty();
    if (loaded && !trueColor_) {
      try {
        palette_.Reset(BuildDisplayPalette(*image_));
      } catch (const ImageError&) {
        palette_.Reset(DefaultPaletteCopy());
      }
    }
  } catch (const ImageError&) {
    loaded = false;
  }
  if (!loaded) {
    image_.reset();
    aheadWork_ = AheadWork{};
    loadFailed_ = true;
    return false;
  }
  currentFileName_ = fileName;
  if (decodedAhead) ++picturesTakenAhead_;
  // A new picture starts a new record of step times.
  stepTimes_ = StepTimes{};
  stepTimes_.decodeMs = Lap(mark);
  return true;
}

ScreenFitRules TSaver::FitRules() const {
  const SaverSettings& settings = Settings();
  ScreenFitRules rules;
  rules.screenRect = screenRect_;
  rules.display = settings.display;
  rules.drawCalendar = settings.drawCalendar;
  rules.accurateSize = settings.accurateSize;
  rules.edges = settings.edges;
  return rules;
}

// The decode and, on a true-colour display, the resampling move to the
// worker. The palette work of a palette display (BuildDisplayPalette in
// LoadImage) stays in the step on this thread: its palette belongs to the
// window and is selected into the window's drawing contexts, and made ahead
// it would be made for pictures the step drops.
void TSaver::DecodeNextAhead() {
  if (!decodeAheadOn_ || !Startup().profileFound || quitPosted_ || inCloseQuery_ ||
      CurrentRunMode() == RunMode::Closing) {
    return;
  }
  // A preview on a palette display keeps its first picture.
  if (CurrentRunMode() == RunMode::Preview && !trueColor_ && !showAtOnce_) return;
  const int32_t index = sequence_.PeekNext(Settings().maxImages);
  if (decodeAhead_.Holds(index)) return;
  decodeAhead_.Drop();
  if (!sequence_.IsUsable(index) || decodeAhead_.WorkerRunning()) return;
  // Read without the flush: the step reads the entry again after its flush
  // and takes the decode only when the name is still this one.
  PrivateProfile profile(Startup().activeProfilePath);
  const std::string fileName =
      profile.GetString(profile_keys::kFiles, ImageKey(index).c_str(), profile_keys::kNoEntry, 259);
  if (fileName == profile_keys::kNoEntry || SortsBelowBlanks(fileName, 13) || !FileExists(fileName)) return;
  // The first picture is drawn directly; the others are rendered, and the
  // worker brings their work images. The saver's own are needed only within
  // a step: let go now, they leave their memory to the decoder.
  const bool renders = trueColor_ && !showAtOnce_;
  if (renders) {
    for (auto& work : workImages_) work.reset();
  }
  decodeAhead_.Start(index, fileName, renders ? std::optional<ScreenFitRules>(FitRules()) : std::nullopt);
}

void TSaver::ShowCurrentImage() {
  if (loadFailed_ || !image_) return;
  const SaverSettings& settings = Settings();
  WindowDC dc(Handle());
  const LocalTime now = clock_->Now();
  shownDate_ = AddDays(Date{now.day, now.month, now.year}, dayShift_);
  dayShift_ = dayShift_ >= 9 ? 0 : dayShift_ + 1;

  ComputeImageRect(FitRules().Placement(image_->Width(), image_->Height()), imageRect_, calendarBand_, textPanel_);

  DrawImage(dc);
  // Work made ahead that this step did not use is of no further use.
  aheadWork_ = AheadWork{};
  double stepStart = stepStartMs_;
  stepTimes_.totalMs = Lap(stepStart);
  if (settings.drawCalendar) {
    PatBlt(dc, 0, 0, 100, 20, BLACKNESS);
    DrawOverlays(dc);
  }
  showAtOnce_ = false;
}

void TSaver::DrawImage(HDC dc) {
  const SaverSettings& settings = Settings();
  const int32_t colors = image_->ColorCount();
  const bool direct = !trueColor_ || showAtOnce_ || (colors >= 1 && colors <= 256);
  double mark = PerformanceCounterMs();
  if (!direct) {
    RenderImage(dc);
    stepTimes_.renderMs = Lap(mark);
  }
  PaintBackground(dc);
  stepTimes_.backgroundMs = Lap(mark);
  // Frame time is everything after the background: the stretch mode and the
  // direct picture or the frames, less the waits between the frames.
  SetStretchBltMode(dc, COLORONCOLOR);
  if (direct) {
    {
      PaletteScope selectPalette(dc, palette_.Get());
      StretchDIBits(dc, imageRect_.left, imageRect_.top, imageRect_.Width(), imageRect_.Height(), 0, 0,
                    image_->Width(), image_->Height(), image_->Bits(), image_->Info(), image_->ColorUse(), SRCCOPY);
    }
    stepTimes_.framesMs = Lap(mark);
    return;
  }
  if (settings.transition == 1 || settings.transition == 2) {
    for (int k = 1; k <= 4; ++k) {
      DrawFrame(dc, k);
      stepTimes_.framesMs += Lap(mark);
      const bool undisturbed = WaitChecked(kFrameDelayMs);
      stepTimes_.waitsMs += Lap(mark);
      if (!undisturbed) return;
    }
    DrawFrame(dc, 0);
  } else if (settings.transition == 0) {
    DrawFrame(dc, 0);
  }
  stepTimes_.framesMs += Lap(mark);
}

void TSaver::PrepareWorkImages(const WorkFit& fit) {
  // Blank images are not cleared, so five of the right size that exist
  // already serve as well as new ones, without 20 MB of fresh memory to
  // allocate and fault in for every picture.
  const bool fits = std::all_of(workImages_.begin(), workImages_.end(), [&](const ImagePtr& work) {
    return work && work->Width() == fit.width && work->Height() == fit.height;
  });
  if (fits) return;
  for (auto& work : workImages_) work.reset();
  for (auto& work : workImages_) work.reset(new TExtendedDib(fit.width, fit.height));
}

// Takes the work images made ahead when they were made for this picture by
// the rules and fit this step uses; otherwise lets them go.
bool TSaver::TakeAheadWork(const WorkFit& fit) {
  AheadWork work = std::exchange(aheadWork_, AheadWork{});
  if (!work || !(work.rules == FitRules()) || !(work.fit == fit)) return false;
  for (size_t k = 0; k < workImages_.size(); ++k) workImages_[k].reset(work.images[k].release());
  ++renderWorkTakenAhead_;
  return true;
}

bool TSaver::PollCursor(void* context) {
  auto* poll = static_cast<CursorPoll*>(context);
  const double now = PerformanceCounterMs();
  if (poll->lastReadMs >= 0 && now - poll->lastReadMs < kCursorReadIntervalMs) return false;
  poll->lastReadMs = now;
  return poll->saver->CursorMoved();
}

void TSaver::RenderImage(HDC dc) {
  if (showAtOnce_) return;
  const SaverSettings& settings = Settings();
  const WorkFit fit = FitWork(FitRules(), imageRect_, image_->Width(), image_->Height());
  // Resampled ahead on the worker: only the pass is left to do here.
  const bool resampled = TakeAheadWork(fit);
  if (!resampled) {
    try {
      PrepareWorkImages(fit);
    } catch (const ImageError&) {
      for (auto& work : workImages_) work.reset();
      return;
    }
  }
  const DibView final = workImages_[0]->View();
  if (final.width <= 0 || final.height <= 0) return;

  RenderInput input;
  input.source = image_->View();
  for (size_t k = 0; k < workImages_.size(); ++k) input.work[k] = workImages_[k]->View();
  input.transition = settings.transition;
  input.edges = settings.edges;
  input.accurate = fit.accurate;
  input.gamma = &gammaTable_;
  input.brightness = brightnessFactor_;
  input.grayscale = settings.grayscale;
  input.scratch = &resampleScratch_;

  // The blend starts from what the screen shows under the picture now: one
  // copy into a bottom-up 24-bit DIB, whose rows are in the work images' order.
  Bitmap oldScreen;
  if (settings.transition == 1) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = final.width;
    info.bmiHeader.biHeight = final.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    oldScreen.Reset(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!oldScreen) return;
    MemoryDC memory(dc);
    {
      SelectionScope select(memory, oldScreen.Get());
      BitBlt(memory, 0, 0, final.width, final.height, dc, imageRect_.left, imageRect_.top, SRCCOPY);
    }
    GdiFlush();
    input.oldScreen = DibView{static_cast<uint8_t*>(bits), final.width, final.height, 24,
                              DibView::StrideFor(final.width, 24)};
  }
  CursorPoll cursorPoll{this};
  PixelPoll poll(&TSaver::PollCursor, &cursorPoll);
  try {
    if (resampled) {
      RunPixelPass(input, poll);
    } else {
      RenderPixels(input, poll);
    }
  } catch (const std::exception&) {
    // A source the pixel core cannot read: nothing rendered, no exception
    // leaves the window procedure.
  }
}

void TSaver::DrawFrame(HDC dc, int index) {
  const TExtendedDib* header = workImages_[0].get();
  const TExtendedDib* frame = workImages_[index].get();
  if (!header || !frame) {
    frameBitmap_.Reset();
    return;
  }
  // The bitmap of the previous frame takes the new frame's pixels when it has
  // the same size: the same conversion into the display's format as a new
  // bitmap, without allocating one for every frame.
  BITMAP kept{};
  const bool sameSize = frameBitmap_ && GetObjectA(frameBitmap_.Get(), sizeof kept, &kept) == sizeof kept &&
                        kept.bmWidth == header->Width() && kept.bmHeight == header->Height();
  if (!sameSize) {
    frameBitmap_.Reset();
    frameBitmap_.Reset(CreateCompatibleBitmap(dc, header->Width(), header->Height()));
  }
  if (!frameBitmap_ || !SetFramePixels(dc, frameBitmap_.Get(), *frame)) {
    frameBitmap_.Reset();
    frameBitmap_.Reset(CreateDIBitmap(dc, header->Header(), CBM_INIT, frame->Bits(), header->Info(), DIB_RGB_COLORS));
  }
  if (!frameBitmap_) return;
  MemoryDC memory(dc);
  SelectionScope select(memory, frameBitmap_.Get());
  StretchBlt(dc, imageRect_.left, imageRect_.top, imageRect_.Width(), imageRect_.Height(), memory, 0, 0,
             imageRect_.Width(), imageRect_.Height(), SRCCOPY);
  ++framesDrawn_;
}

void TSaver::PaintBackground(HDC dc) {
  const SaverSettings& settings = Settings();
  const Rect& area = settings.drawCalendar ? calendarBand_ : screenRect_;
  Region clip(CreateRectRgn(area.left, area.top, area.right, area.bottom));
  Region picture(CreateRectRgn(imageRect_.left, imageRect_.top, imageRect_.right, imageRect_.bottom));
  SelectClipRgn(dc, clip.Get());
  ExtSelectClipRgn(dc, picture.Get(), RGN_XOR);
  if (tileLoaded_) {
    for (int32_t y = 0; y < screenRect_.bottom; y += tileHeight_) {
      for (int32_t x = 0; x < screenRect_.right; x += tileWidth_) {
        StretchDIBits(dc, x, y, tileWidth_, tileHeight_, 0, 0, tileWidth_, tileHeight_, tile_->Bits(),
                      tile_->Info(), tile_->ColorUse(), SRCCOPY);
      }
    }
  } else {
    Brush brush(CreateSolidBrush(settings.backgroundColor));
    SelectionScope select(dc, brush.Get());
    PatBlt(dc, screenRect_.left, screenRect_.top, screenRect_.Width(), screenRect_.Height(), PATCOPY);
  }
  SelectClipRgn(dc, nullptr);
}

}  // namespace orvalen
