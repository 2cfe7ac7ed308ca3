#pragma once
// The saver window: full screen in Saver mode (and as the interactive slide
// show), a child of the preview parent in Preview mode. On a 500 ms timer it
// steps through the profile's image list, shows each image over the
// background with its transition and draws the overlays beside it.
#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calendar/calendar_date.h"
#include "calendar/calendar_file.h"
#include "imaging/color_adjust.h"
#include "base/geometry.h"
#include "imaging/resample.h"
#include "saver/clock.h"
#include "saver/decode_ahead_win.h"
#include "saver/monitor_cover_win.h"
#include "saver/slide_sequence.h"
#include "winapp/frame_window_win.h"
#include "winapp/handles_win.h"

namespace orvalen {

class TExtendedDib;

// Deletes an image; defined where the image type is complete.
struct ImageDeleter {
  void operator()(TExtendedDib* image) const;
};
using ImagePtr = std::unique_ptr<TExtendedDib, ImageDeleter>;

class TSaver : public FrameWindow {
 public:
  static constexpr const char* kClassName = "ORVALEN_SAVER_CLASS";
  static constexpr const char* kTitle = "Orvalen Screen Saver - Saver Mode";
  static constexpr UINT_PTR kTimerId = 10;
  static constexpr UINT kTimerPeriod = 500;
  // Posted by the worker when a picture decoded ahead is ready: a step that
  // waits for it runs then rather than at the next tick.
  static constexpr UINT kDecodeEndedMessage = WM_APP + 10;

  // `clock` may be null for the system clock; tests pass their own.
  explicit TSaver(Clock* clock = nullptr);
  ~TSaver() override;

  // Creates the window: a child filling `previewParent` in Preview mode, a
  // top-level pop-up covering the screen otherwise.
  bool CreateSaverWindow(HWND previewParent);

  // Test access to the state the slide show keeps.
  const SlideSequence& Sequence() const { return sequence_; }
  const Rect& ImageRect() const { return imageRect_; }
  const Rect& ScreenRect() const { return screenRect_; }
  const Rect& CalendarBand() const { return calendarBand_; }
  const Rect& TextPanel() const { return textPanel_; }
  int32_t DayShift() const { return dayShift_; }
  bool Paused() const { return paused_; }
  const std::string& CurrentFileName() const { return currentFileName_; }
  // Counts the frames drawn, so tests can check the transition sequence.
  int FramesDrawn() const { return framesDrawn_; }

  // Where the last step that showed a picture spent its time, in
  // milliseconds (performance counter), for the drawing benchmark.
  struct StepTimes {
    double decodeMs = 0;      // LoadImage: the file into the image
    double renderMs = 0;      // RenderImage: work images, old screen, pixel core
    double backgroundMs = 0;  // PaintBackground
    double framesMs = 0;      // the rest of DrawImage: the frames or the direct picture
    double waitsMs = 0;       // the waits between the frames, not in framesMs
    double totalMs = 0;       // from the start of the step to the last frame
  };
  const StepTimes& LastStepTimes() const { return stepTimes_; }

  // One slide-show step (run by the timer, the first paint and the keys).
  void Step();

  // The picture the next step will show is decoded ahead on a worker thread
  // (on unless turned off; before CreateSaverWindow, that covers the first
  // picture too). Turned off, every step loads its picture itself and any
  // decode held is dropped; tests and the benchmark compare the two.
  void SetDecodeAhead(bool on);
  const DecodeAhead& Ahead() const { return decodeAhead_; }
  // Steps whose picture came from a decode made ahead.
  int PicturesTakenAhead() const { return picturesTakenAhead_; }
  // Steps whose picture the worker had resampled too.
  int RenderWorkTakenAhead() const { return renderWorkTakenAhead_; }

 protected:
  void OnSetup() override;
  void OnPaint(HDC dc, const PAINTSTRUCT& paint) override;
  const char* ClassName() const override { return kClassName; }
  void GetClassAttributes(WNDCLASSEXA& attributes) const override;
  bool FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool QueryClose() override;
  void OnKeyDown(UINT virtualKey) override;
  void OnTimer(UINT_PTR timerId) override;
  void OnDestroy() override;

 private:
  // Input and closing.
  void RequestClose();
  // Posts the quit message that ends the message loop, once per window: a
  // close request, the error screen and the window's destruction may all
  // come in one ending (destroying the full-screen window deactivates it,
  // which is a close request of its own).
  void EndMessageLoop();
  bool CursorMoved();
  bool WaitChecked(uint32_t milliseconds);
  void ShowErrorScreen();
  void OnDecodeEnded();
  void DrawKeyLabel(const char* label);

  // The images.
  void PrepareAdjustments();
  // Loads the file, or takes `ahead`, what was decoded ahead for it.
  bool LoadImage(const std::string& fileName, AheadPicture ahead = AheadPicture{});
  void DecodeNextAhead();
  ScreenFitRules FitRules() const;
  bool StepWaitsForDecode(uint32_t now);
  void LoadTile();
  void ShowCurrentImage();
  void DrawImage(HDC dc);
  void PrepareWorkImages(const WorkFit& fit);
  bool TakeAheadWork(const WorkFit& fit);
  void RenderImage(HDC dc);
  void DrawFrame(HDC dc, int index);
  void PaintBackground(HDC dc);
  static bool PollCursor(void* saver);

  // The overlays and the day text.
  void BuildCalendarIndex();
  void DrawOverlays(HDC dc);
  void DrawDateTime(HDC dc);
  void DrawRunTimes(HDC dc);
  void DrawCalendarPanel(HDC dc);
  void DrawMonth(HDC dc, int month, int year, int x, int y, int width);
  bool LookUpShownDay();
  void ComposeDayDefaultText();
  int DrawJournalLines(HDC dc, int x, int y, int w, int h);
  void DrawAppointmentLines(HDC dc, int x, int y, int w, int h);

  Clock* clock_;
  std::unique_ptr<Clock> ownClock_;

  bool tileLoaded_ = false;
  int32_t tileWidth_ = 0;
  int32_t tileHeight_ = 0;
  bool showAtOnce_ = true;
  Rect calendarBand_{};
  Rect textPanel_{};
  Rect imageRect_{0, 0, 1, 1};
  bool calendarOpen_ = false;
  std::string dayText_;
  std::string appointmentText_;
  SaverCalendar calendar_;  // the calendar file and its day index
  int32_t dayShift_ = 0;
  bool defaultTextMode_ = false;
  ImagePtr image_;
  Palette palette_;
  bool loadFailed_ = false;
  Rect screenRect_{};
  float brightnessFactor_ = 0.0f;
  GammaTable gammaTable_;
  ResampleScratch resampleScratch_;
  std::array<ImagePtr, 5> workImages_;
  AheadWork aheadWork_;  // the render work made ahead for image_, until its step uses it
  Bitmap frameBitmap_;
  std::string currentFileName_ = "No image files found";
  SlideSequence sequence_;
  bool trueColor_ = true;
  bool paused_ = false;
  POINT cursorHome_{};
  bool inCloseQuery_ = false;
  bool quitPosted_ = false;
  uint32_t lastStepTick_ = 0;
  uint32_t startTick_ = 0;
  ImagePtr tile_;
  Date shownDate_{};
  int framesDrawn_ = 0;
  StepTimes stepTimes_{};
  double stepStartMs_ = 0;  // performance counter at the start of the step
  HWND previewParent_ = nullptr;
  DecodeAhead decodeAhead_;
  bool decodeAheadOn_ = true;
  int picturesTakenAhead_ = 0;
  int renderWorkTakenAhead_ = 0;
  // A step was due while its picture was still being decoded ahead; it runs
  // at the first tick after the decode, or after kLongestDecodeWaitMs.
  bool stepDue_ = false;
  bool stepByKey_ = false;  // the step running was asked for by a slide-show key
  uint32_t dueSinceTick_ = 0;
  static constexpr uint32_t kLongestDecodeWaitMs = 10000;
  std::vector<std::unique_ptr<MonitorCover>> covers_;  // the monitors beside the primary
};

}  // namespace orvalen
