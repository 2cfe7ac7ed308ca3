// Pixel arithmetic on a worker thread: a thread started by StartThread
// computes with the starter's floating-point control, so a picture rendered
// ahead on the worker has the bytes the message thread would give it.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/imaging/pixel_reference.h"
#include "winapp/thread_win.h"

namespace orvalen {
namespace {

using test::TestImage;

// The x87 control word a thread made by CreateThread starts with: 53-bit
// precision, where the C runtime gives the main thread 64 bits.
constexpr uint16_t kSystemThreadX87 = 0x27F;

// The accurate reduction, computed as written (long double sums, no
// tables), whose results round differently at 53 bits than at 64.
struct Render {
  TestImage source{997, 771};
  TestImage target{640, 494};
  FloatControl control;  // of the thread that rendered

  Render() { source.FillRandom(2024); }

  void Run() {
    control = CurrentFloatControl();
    test::ReferenceResampleAccurate(source.view, target.view);
  }
  bool SameBytes(const Render& other) const { return target.bytes == other.target.bytes; }
};

DWORD WINAPI RenderOnThread(void* render) {
  static_cast<Render*>(render)->Run();
  return 0;
}

// As a thread of the system starts, whatever its starter computes with.
DWORD WINAPI RenderAtSystemPrecision(void* render) {
  FloatControl control = CurrentFloatControl();
  control.x87 = kSystemThreadX87;
  ApplyFloatControl(control);
  return RenderOnThread(render);
}

void RunAndWait(KernelHandle thread) {
  ASSERT_TRUE(thread);
  ASSERT_EQ(WaitForSingleObject(thread.Get(), 60000), WAIT_OBJECT_0);
}

TEST(WorkerThread, ComputesWithTheStartersFloatingPointControl) {
  Render onMessageThread;
  onMessageThread.Run();
  Render onWorker;
  RunAndWait(StartThread(&RenderOnThread, &onWorker));
  Render atSystemPrecision;
  RunAndWait(KernelHandle(CreateThread(nullptr, 0, &RenderAtSystemPrecision, &atSystemPrecision, 0, nullptr)));

  EXPECT_EQ(onWorker.control.x87, onMessageThread.control.x87);
  EXPECT_EQ(onWorker.control.mxcsr & ~0x3Fu, onMessageThread.control.mxcsr & ~0x3Fu);
  EXPECT_TRUE(onWorker.SameBytes(onMessageThread));
  // The inputs are such that the precision matters at all.
  EXPECT_NE(onMessageThread.control.x87, kSystemThreadX87);
  EXPECT_FALSE(atSystemPrecision.SameBytes(onMessageThread));
}

}  // namespace
}  // namespace orvalen
