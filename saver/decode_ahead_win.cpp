#include "saver/decode_ahead_win.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "imaging/pixel_poll.h"
#include "imaging/render_pass.h"
#include "winapp/thread_win.h"

namespace orvalen {
namespace {

std::optional<FileStamp> StampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  stamp.lastWrite = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

}  // namespace

// Shared by the starter and its worker; whoever lets go last deletes it.
struct DecodeAhead::Job {
  std::atomic<int> references{2};
  // Set by the worker once `stamp` and `block` are final; only then does the
  // starter read them.
  std::atomic<bool> ended{false};
  int32_t index = 0;
  std::string path;
  std::optional<ScreenFitRules> fit;
  FileStamp stamp;
  GlobalBlock block;
  AheadWork work;
  HWND notifyWindow = nullptr;  // told with notifyMessage once the decode has ended
  UINT notifyMessage = 0;
};

DecodeAhead::~DecodeAhead() { Drop(); }

void DecodeAhead::Release(Job* job) {
  if (job->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete job;
}

DWORD WINAPI DecodeAhead::Work(void* context) {
  auto* job = static_cast<Job*>(context);
  try {
    const std::optional<FileStamp> before = StampOf(job->path);
    if (before) {
      GlobalBlock block = DecodeGraphicFile(job->path.c_str());
      // A file rewritten while it was read may have given a picture of
      // neither version: such a decode is not kept.
      if (block && StampOf(job->path) == before) {
        job->stamp = *before;
        job->block = std::move(block);
        if (job->fit) MakeRenderWork(*job);
      }
    }
  } catch (...) {
    // Nothing leaves the thread; the step then loads the file itself.
  }
  job->ended.store(true, std::memory_order_release);
  if (job->notifyWindow) PostMessageA(job->notifyWindow, job->notifyMessage, 0, 0);
  Release(job);
  return 0;
}

bool DecodeAhead::Dropped(void* job) {
  return static_cast<Job*>(job)->references.load(std::memory_order_acquire) == 1;
}

// Resamples the decoded picture into new work images exactly as the step's
// render would. A picture with a colour table is drawn directly and needs
// none. Whatever fails (no memory, the decode dropped meanwhile) leaves the
// work empty and the block as it was; the step then renders as usual.
void DecodeAhead::MakeRenderWork(Job& job) {
  // The image only lends its view of the block: made with AdoptHandle, it
  // leaves the load's outcome, which belongs to the step, alone.
  TExtendedDib picture;
  try {
    picture.AdoptHandle(job.block.Get());
  } catch (...) {
    return;  // no DIB the render could read; the step's load says so
  }
  job.block.Release();
  try {
    const int32_t colors = picture.ColorCount();
    if (colors < 1 || colors > 256) {
      AheadWork work;
      work.rules = *job.fit;
      const Rect imageRect = FitImageRect(work.rules, picture.Width(), picture.Height());
      work.fit = FitWork(work.rules, imageRect, picture.Width(), picture.Height());
      for (auto& image : work.images) image = std::make_unique<TExtendedDib>(work.fit.width, work.fit.height);
      RenderInput input;
      input.source = picture.View();
      input.work[0] = work.images[0]->View();
      input.accurate = work.fit.accurate;
      input.edges = work.rules.edges;
      PixelPoll poll(&DecodeAhead::Dropped, &job);
      if (ResampleWork(input, poll)) {
        // The frames' pages are faulted in here, off the step.
        for (size_t k = 1; k < work.images.size(); ++k) {
          const DibView frame = work.images[k]->View();
          if (frame.bits) std::memset(frame.bits, 0, static_cast<size_t>(frame.stride) * frame.height);
        }
        job.work = std::move(work);
      }
    }
  } catch (...) {
    job.work = AheadWork{};
  }
  job.block = picture.Detach();
}

bool DecodeAhead::Start(int32_t index, const std::string& path, const std::optional<ScreenFitRules>& fit) {
  Drop();
  if (WorkerRunning()) return false;
  std::unique_ptr<Job> job(new (std::nothrow) Job);
  if (!job) return false;
  try {
    job->path = path;
  } catch (const std::bad_alloc&) {
    return false;
  }
  job->index = index;
  job->fit = fit;
  job->notifyWindow = notifyWindow_;
  job->notifyMessage = notifyMessage_;
  KernelHandle worker = StartThread(&DecodeAhead::Work, job.get());
  if (!worker) return false;
  worker_ = std::move(worker);
  job_ = job.release();
  return true;
}

AheadPicture DecodeAhead::Take(int32_t index, const std::string& path) {
  AheadPicture taken;
  if (job_ && job_->ended.load(std::memory_order_acquire) && job_->block && job_->index == index &&
      job_->path == path && StampOf(path) == job_->stamp) {
    taken.block = std::move(job_->block);
    taken.work = std::move(job_->work);
  }
  Drop();
  return taken;
}

void DecodeAhead::Drop() {
  if (job_) Release(std::exchange(job_, nullptr));
}

bool DecodeAhead::Holds(int32_t index) const { return job_ && job_->index == index; }

bool DecodeAhead::Ended() const { return job_ && job_->ended.load(std::memory_order_acquire); }

bool DecodeAhead::WorkerRunning() const {
  return worker_ && WaitForSingleObject(worker_.Get(), 0) == WAIT_TIMEOUT;
}

}  // namespace orvalen
