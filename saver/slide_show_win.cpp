// Loading the slide-show images and drawing them with their transition.
#include <cstring>
#include <exception>

#include "calendar/calendar_date.h"
#include "calendar/calendar_text.h"
#include "imaging/extended_dib.h"
#include "imaging/fit.h"
#include "imaging/image_error.h"
#include "imaging/median_cut.h"
#include "imaging/render_pass.h"
#include "saver/process_state.h"
#include "saver/saver_window.h"
#include "saver/settings.h"
#include "saver/startup.h"

namespace orvalen {
namespace {

constexpr uint32_t kFrameDelayMs = 50;

bool FileExists(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

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

// The work images take the picture area's extent as a 16-bit value.
int32_t WorkExtent(int32_t extent) { return static_cast<int16_t>(extent); }

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

bool TSaver::LoadImage(const std::string& fileName) {
  if (SortsBelowBlanks(fileName, 13) || !FileExists(fileName)) return false;
  loadFailed_ = false;
  palette_.Reset();
  image_.reset();
  bool loaded = false;
  try {
    image_.reset(new TExtendedDib(fileName.c_str()));
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
    loadFailed_ = true;
    return false;
  }
  currentFileName_ = fileName;
  return true;
}

void TSaver::ShowCurrentImage() {
  if (loadFailed_ || !image_) return;
  const SaverSettings& settings = Settings();
  WindowDC dc(Handle());
  const LocalTime now = clock_->Now();
  shownDate_ = AddDays(Date{now.day, now.month, now.year}, dayShift_);
  dayShift_ = dayShift_ >= 9 ? 0 : dayShift_ + 1;

  ImagePlacement placement;
  placement.hasImage = image_ != nullptr;
  placement.loadFailed = loadFailed_;
  placement.imageWidth = image_->Width();
  placement.imageHeight = image_->Height();
  placement.screenRect = screenRect_;
  placement.optionDisplay = settings.display;
  placement.drawCalendar = settings.drawCalendar;
  ComputeImageRect(placement, imageRect_, calendarBand_, textPanel_);

  DrawImage(dc);
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
  if (!direct) RenderImage(dc);
  PaintBackground(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  if (direct) {
    PaletteScope selectPalette(dc, palette_.Get());
    StretchDIBits(dc, imageRect_.left, imageRect_.top, imageRect_.Width(), imageRect_.Height(), 0, 0,
                  image_->Width(), image_->Height(), image_->Bits(), image_->Info(), image_->ColorUse(), SRCCOPY);
    return;
  }
  if (settings.transition == 1 || settings.transition == 2) {
    for (int k = 1; k <= 4; ++k) {
      DrawFrame(dc, k);
      if (!WaitChecked(kFrameDelayMs)) return;
    }
    DrawFrame(dc, 0);
  } else if (settings.transition == 0) {
    DrawFrame(dc, 0);
  }
}

void TSaver::PrepareWorkImages() {
  for (auto& work : workImages_) work.reset();
  const int32_t width = WorkExtent(imageRect_.Width());
  const int32_t height = WorkExtent(imageRect_.Height());
  for (auto& work : workImages_) work.reset(new TExtendedDib(width, height));
}

bool TSaver::PollCursor(void* saver) { return static_cast<TSaver*>(saver)->CursorMoved(); }

void TSaver::RenderImage(HDC dc) {
  if (showAtOnce_) return;
  const SaverSettings& settings = Settings();
  try {
    PrepareWorkImages();
  } catch (const ImageError&) {
    for (auto& work : workImages_) work.reset();
    return;
  }
  const DibView final = workImages_[0]->View();
  if (final.width <= 0 || final.height <= 0) return;

  RenderInput input;
  input.source = image_->View();
  for (size_t k = 0; k < workImages_.size(); ++k) input.work[k] = workImages_[k]->View();
  input.transition = settings.transition;
  input.edges = settings.edges;
  input.accurate = ChooseAccurate(settings.accurateSize, image_->Width(), image_->Height(), imageRect_);
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
  PixelPoll poll(&TSaver::PollCursor, this);
  try {
    RenderPixels(input, poll);
  } catch (const std::exception&) {
    // A source the pixel core cannot read: nothing rendered, no exception
    // leaves the window procedure.
  }
}

void TSaver::DrawFrame(HDC dc, int index) {
  frameBitmap_.Reset();
  const TExtendedDib* header = workImages_[0].get();
  const TExtendedDib* frame = workImages_[index].get();
  if (!header || !frame) return;
  frameBitmap_.Reset(CreateDIBitmap(dc, header->Header(), CBM_INIT, frame->Bits(), header->Info(), DIB_RGB_COLORS));
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
