// The next picture decoded ahead on a worker thread: the slide show shows
// what it shows without it, a file or profile changed after the decode is
// read afresh, and closing never waits for the worker.
#include <windows.h>
#include <wincodec.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "imaging/extended_dib_win.h"
#include "imaging/fit.h"
#include "saver/process_state.h"
#include "saver/saver_window_win.h"
#include "tests/saver/saver_fixture_win_helpers.h"
#include "tests/support/import_patch_win.h"
#include "winapp/com_win.h"
#include "winapp/handles_win.h"

namespace orvalen {
namespace {

using namespace orvalen::saver_test;

// Writes a JPEG of `width` x `height` through the imaging component: a
// gradient with a tone of its own, so that each file decodes to its own
// pixels and takes the decoder some time.
bool WriteJpeg(const std::string& path, int width, int height, uint8_t tone) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.OutVoid()))) {
    return false;
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  const std::wstring widePath(path.begin(), path.end());
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Out())) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.Out(), options.Out())) || FAILED(frame->Initialize(options.Get())) ||
      FAILED(frame->SetSize(width, height))) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) return false;
  const UINT stride = static_cast<UINT>(width) * 3;
  std::vector<BYTE> row(stride);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<BYTE>(tone + x / 8);
      row[3 * x + 1] = static_cast<BYTE>(y / 8);
      row[3 * x + 2] = static_cast<BYTE>(tone ^ (x + y) / 16);
    }
    if (FAILED(frame->WritePixels(1, stride, stride, row.data()))) return false;
  }
  return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// A hash of what the window shows.
uint64_t WindowPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  WindowDC dc(window);
  MemoryDC memory(dc);
  Bitmap copy(CreateCompatibleBitmap(dc, client.right, client.bottom));
  {
    SelectionScope select(memory, copy.Get());
    BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(client.right) * client.bottom);
  GetDIBits(memory, copy.Get(), 0, client.bottom, pixels.data(), &info, DIB_RGB_COLORS);
  uint64_t hash = 1469598103934665603ull;
  for (uint32_t p : pixels) hash = (hash ^ (p & 0xFFFFFF)) * 1099511628211ull;
  return hash;
}

// The graphics library's load of one file, held until the test lets it go:
// this program's import of the load waits at a gate when asked for that file,
// so a decode ahead of it is still running for as long as the test needs,
// however fast the machine.
class HeldDecode {
 public:
  explicit HeldDecode(const std::string& path)
      : patch_("Orvalenx.dll", "LoadGraphicFile", reinterpret_cast<void*>(&Load)) {
    if (!gate) gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(gate);
    heldPath = path;
    original = patch_.Original();
  }
  // Lets the load go and waits until no call is inside the stand-in any
  // more; then the patch ends.
  ~HeldDecode() {
    Release();
    for (int i = 0; i < 30000 && inside.load() > 0; ++i) Sleep(1);
  }
  HeldDecode(const HeldDecode&) = delete;
  HeldDecode& operator=(const HeldDecode&) = delete;

  bool Installed() const { return patch_.Installed(); }
  void Release() { SetEvent(gate); }

 private:
  static HGLOBAL WINAPI Load(const char* path, int reserved1, int reserved2) {
    ++inside;
    if (path && heldPath == path) WaitForSingleObject(gate, 30000);
    HGLOBAL result = reinterpret_cast<decltype(&Load)>(original)(path, reserved1, reserved2);
    --inside;
    return result;
  }

  static inline HANDLE gate = nullptr;  // manual reset; lives as long as the program
  static inline std::string heldPath;
  static inline void* original = nullptr;
  static inline std::atomic<int> inside{0};
  test_support::ImportPatch patch_;
};

// Waits, as the delay between two steps would, until no worker runs.
bool WorkerEnds(const TSaver& saver) {
  for (int i = 0; i < 2000 && saver.Ahead().WorkerRunning(); ++i) Sleep(5);
  return !saver.Ahead().WorkerRunning();
}

class DecodeAheadTest : public SaverFixture {
 protected:
  void TearDown() override {
    SaverFixture::TearDown();
    for (const std::string& p : extraFiles_) std::remove(p.c_str());
  }
  std::string MakeJpeg(const char* name, int width, int height, uint8_t tone) {
    const std::string path = TempPath(name);
    extraFiles_.push_back(path);
    EXPECT_TRUE(WriteJpeg(path, width, height, tone)) << path;
    return path;
  }
  // The colour at the centre of the picture shown.
  COLORREF PictureCentre() const {
    const Rect& r = saver_->ImageRect();
    return Pixel(saver_->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  std::vector<std::string> extraFiles_;
};

// What one step or key left behind.
struct Shown {
  std::string fileName;
  int32_t currentIndex, nextIndex;
  std::vector<bool> usable;
  bool lastLoadSucceeded;
  uint64_t pixels;
  bool operator==(const Shown&) const = default;
};

TEST_F(DecodeAheadTest, SlideShowShowsTheSamePicturesAsLoadingInTheStep) {
  // Recycling after five steps, a broken file, a missing one, a picture with
  // a colour table (drawn directly) and JPEGs rendered with their transition;
  // steps and the five keys in between. The worker resamples the JPEGs ahead:
  // enlarged (the simple method) and, the first one larger than the picture
  // area, reduced (the accurate one), with edges, grey and the full-screen fit.
  struct Case {
    const char* settings;
    int firstWidth, firstHeight;
  };
  const Case cases[] = {
      {"OPTION_TRANSITION=1\r\nACCURATE_SIZE=1\r\n", 320, 240},
      {"OPTION_TRANSITION=2\r\nACCURATE_SIZE=1\r\nOPTION_EDGES=2\r\nGRAYSCALE=1\r\nOPTION_DISPLAY=4\r\n", 1100,
       800},
  };
  const std::string missing = TempPath("orvalen_ahead_missing.jpg");
  constexpr UINT kStep = 0;
  // End comes while the second picture is decoded ahead, and moves away.
  const std::vector<UINT> actions = {kStep,   kStep, kStep,    kStep, kStep,    VK_END,  kStep,
                                     VK_LEFT, VK_HOME, kStep,  VK_SPACE, kStep, VK_RIGHT, kStep,
                                     VK_RIGHT, kStep, kStep,   VK_LEFT, VK_LEFT, kStep};
  // The waits between the frames pass faster; each action starts a new
  // count of readings, so that a key's step finds its delay over.
  clock_.readsPerTick = 3;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    const std::string first = MakeJpeg("orvalen_ahead_1.jpg", c.firstWidth, c.firstHeight, 10);
    const std::string second = MakeJpeg("orvalen_ahead_2.jpg", 200, 300, 90);
    struct Run {
      std::vector<Shown> shown;
      int taken, rendered;
    };
    auto run = [&](bool ahead) {
      Run result;
      // Written afresh: the first run leaves its LastImage behind.
      WriteProfile(std::string("VALUE_DELAY=1\r\nIMAGE_MAX_NUMBER=5\r\n") + c.settings,
                   {first, second, brokenPath_, imagePath_, missing, secondPath_});
      decodeAhead_ = ahead;
      StartFullScreen(true);
      for (UINT action : actions) {
        EXPECT_TRUE(WorkerEnds(*saver_));
        clock_.reads = 0;
        if (action == kStep) {
          clock_.ticks += 60000;
          SendMessageA(saver_->Handle(), WM_TIMER, TSaver::kTimerId, 0);
        } else {
          SendMessageA(saver_->Handle(), WM_KEYDOWN, action, 0);
        }
        const SlideSequence& sequence = saver_->Sequence();
        std::vector<bool> usable;
        for (int32_t i = 0; i < 6; ++i) usable.push_back(sequence.IsUsable(i));
        result.shown.push_back(Shown{saver_->CurrentFileName(), sequence.CurrentIndex(), sequence.NextIndex(),
                                     usable, LastLoadSucceeded(), WindowPixels(saver_->Handle())});
      }
      EXPECT_FALSE(QuitPosted());
      result.taken = saver_->PicturesTakenAhead();
      result.rendered = saver_->RenderWorkTakenAhead();
      saver_.reset();
      PumpMessages();
      return result;
    };
    const Run alone = run(false);
    const Run ahead = run(true);
    EXPECT_EQ(alone.taken, 0);
    EXPECT_EQ(alone.rendered, 0);
    EXPECT_GE(ahead.taken, 6);
    // Every JPEG after the first picture, shown by a step the worker foresaw.
    EXPECT_GE(ahead.rendered, 4);
    ASSERT_EQ(alone.shown.size(), ahead.shown.size());
    for (size_t i = 0; i < alone.shown.size(); ++i) {
      EXPECT_TRUE(alone.shown[i] == ahead.shown[i])
          << "after action " << i << ": " << alone.shown[i].fileName << " / " << ahead.shown[i].fileName;
    }
    // The run went through what it was meant to: pictures of every kind shown.
    std::vector<std::string> names;
    for (const Shown& s : alone.shown) names.push_back(s.fileName);
    for (const std::string& name : {first, second, imagePath_, secondPath_}) {
      EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
  }
}

TEST_F(DecodeAheadTest, PreviewTakesTheDecodeUnlessTheFileChangedSince) {
  struct Case {
    const char* what;
    int width;          // of the picture that replaces the second one; 0: none
    int secondsLater;   // its last-write time against the decoded file's
    int takenAhead;
  };
  const Case cases[] = {
      {"unchanged", 0, 0, 1},
      {"same size, written later", 20, 10, 0},
      {"other size, same time", 30, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBmp(secondPath_, 20, 60, [](int, int) { return Rgb{0, 0, 250}; });
    WriteProfile("VALUE_DELAY=1\r\n", {imagePath_, secondPath_});
    StartPreview();
    ASSERT_TRUE(WorkerEnds(*saver_));
    ASSERT_TRUE(saver_->Ahead().Holds(1) && saver_->Ahead().Ended());
    COLORREF expected = RGB(0, 0, 250);
    int width = 20;
    if (c.width) {
      FILETIME written{};
      {
        KernelHandle file(CreateFileA(secondPath_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        GetFileTime(file.Get(), nullptr, nullptr, &written);
      }
      WriteBmp(secondPath_, c.width, 60, [](int, int) { return Rgb{250, 0, 0}; });
      const uint64_t time = (uint64_t{written.dwHighDateTime} << 32 | written.dwLowDateTime) +
                            10000000ull * c.secondsLater;  // 100 ns units
      written = FILETIME{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
      KernelHandle file(CreateFileA(secondPath_.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &written));
      expected = RGB(250, 0, 0);
      width = c.width;
    }
    const int takenBefore = saver_->PicturesTakenAhead();
    NextStep();
    EXPECT_EQ(saver_->CurrentFileName(), secondPath_);
    EXPECT_EQ(saver_->PicturesTakenAhead() - takenBefore, c.takenAhead);
    EXPECT_EQ(saver_->ImageRect(), FitRect(saver_->ScreenRect(), width, 60));
    EXPECT_EQ(PictureCentre(), expected);
    saver_.reset();
    DestroyWindow(host_);
    host_ = nullptr;
    PumpMessages();
  }
}

TEST_F(DecodeAheadTest, AnotherNameAtTheIndexShowsThatName) {
  WriteProfile("VALUE_DELAY=1\r\n", {imagePath_, secondPath_});
  StartPreview();
  ASSERT_TRUE(WorkerEnds(*saver_));
  ASSERT_TRUE(saver_->Ahead().Holds(1));
  // The configuration program puts the first picture at the index decoded.
  WritePrivateProfileStringA("Files", "i1", imagePath_.c_str(), profilePath_.c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, profilePath_.c_str());
  const int takenBefore = saver_->PicturesTakenAhead();
  NextStep();
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 1);
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  EXPECT_EQ(saver_->PicturesTakenAhead(), takenBefore);
  EXPECT_EQ(PictureCentre(), RGB(200, 100, 50));
}

TEST_F(DecodeAheadTest, AStepDueDuringTheDecodeRunsWhenTheDecodeEnds) {
  WriteProfile("VALUE_DELAY=1\r\n", {imagePath_, secondPath_});
  HeldDecode held(secondPath_);
  ASSERT_TRUE(held.Installed());
  StartPreview();
  ASSERT_TRUE(saver_->Ahead().Holds(1));
  ASSERT_FALSE(saver_->Ahead().Ended());
  clock_.ticks += 60000;  // the delay is over before the decode
  saver_->Step();
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 0);  // not begun: no key read, no index used
  EXPECT_EQ(saver_->CurrentFileName(), imagePath_);
  held.Release();
  ASSERT_TRUE(WorkerEnds(*saver_));
  PumpMessages();  // the worker's word that it has ended: no tick needed
  EXPECT_EQ(saver_->Sequence().CurrentIndex(), 1);
  EXPECT_EQ(saver_->CurrentFileName(), secondPath_);
  EXPECT_EQ(saver_->PicturesTakenAhead(), 2);  // the first picture and this one
}

TEST_F(DecodeAheadTest, CloseDuringADecodeEndsTheSaverWithoutWaiting) {
  WriteProfile("VALUE_DELAY=1\r\n", {imagePath_, secondPath_});
  HeldDecode held(secondPath_);
  ASSERT_TRUE(held.Installed());
  StartFullScreen(true);
  ASSERT_EQ(saver_->CurrentFileName(), imagePath_);
  ASSERT_TRUE(saver_->Ahead().Holds(1));
  KernelHandle worker(OpenThread(SYNCHRONIZE, FALSE, saver_->Ahead().WorkerId()));
  ASSERT_TRUE(worker);
  // A key that is no navigation key ends the slide show.
  SendMessageA(saver_->Handle(), WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(QuitPosted());
  saver_.reset();
  // The saver is gone while its worker still decodes; the worker then ends
  // by itself and frees what it decoded.
  EXPECT_EQ(WaitForSingleObject(worker.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
  held.Release();
  EXPECT_EQ(WaitForSingleObject(worker.Get(), 30000), static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
}  // namespace orvalen
