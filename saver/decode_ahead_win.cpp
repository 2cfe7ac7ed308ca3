#include "saver/decode_ahead_win.h"

#include <atomic>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "imaging/extended_dib_win.h"

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
  FileStamp stamp;
  GlobalBlock block;
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
      }
    }
  } catch (...) {
    // Nothing leaves the thread; the step then loads the file itself.
  }
  job->ended.store(true, std::memory_order_release);
  Release(job);
  return 0;
}

bool DecodeAhead::Start(int32_t index, const std::string& path) {
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
  KernelHandle worker(CreateThread(nullptr, 0, &DecodeAhead::Work, job.get(), 0, nullptr));
  if (!worker) return false;
  worker_ = std::move(worker);
  job_ = job.release();
  return true;
}

GlobalBlock DecodeAhead::Take(int32_t index, const std::string& path) {
  GlobalBlock taken;
  if (job_ && job_->ended.load(std::memory_order_acquire) && job_->block && job_->index == index &&
      job_->path == path && StampOf(path) == job_->stamp) {
    taken = std::move(job_->block);
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
