// Decoding and quantizing as the graphics library does them, single thread.
// The pictures come from orvalenx_peers.py (bench/run-orvalenx makes them);
// ORVALENX_BENCH_DIR names their folder. Each decode maps the file and
// decodes it into one block, as LoadGraphicFile does.
//
// Memory: a picture written into pages the process has not touched before
// costs a page fault and the kernel's zeroing for each page (9000 for our
// 36 MB block), for the 24-bit BMP twice the time of decoding it. So each
// decoder runs twice: on a recycled block ("/fresh:0") and on pages mapped
// anew for every block ("/fresh:1"). orvalenx_peers.py measures Pillow both
// ways as well. The counter "faults" is the page faults per decode, which
// shows which kind of memory a run had.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

#include "orvalenx/bmp_decoder.h"
#include "orvalenx/color_histogram.h"
#include "orvalenx/dib_layout.h"
#include "orvalenx/palette_mapping.h"
#include "orvalenx/pcx_decoder.h"

namespace orvalen {
namespace {

std::string PathOf(const char* name) {
  const char* folder = std::getenv("ORVALENX_BENCH_DIR");
  return std::string(folder ? folder : ".") + "/" + name;
}

class Mapped {
 public:
  explicit Mapped(const std::string& path) {
    fd_ = open(path.c_str(), O_RDONLY);
    struct stat st {};
    if (fd_ < 0 || fstat(fd_, &st) != 0 || st.st_size == 0) return;
    size_ = static_cast<size_t>(st.st_size);
    void* view = mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd_, 0);
    if (view != MAP_FAILED) data_ = static_cast<const uint8_t*>(view);
  }
  ~Mapped() {
    if (data_) munmap(const_cast<uint8_t*>(data_), size_);
    if (fd_ >= 0) close(fd_);
  }
  std::span<const uint8_t> Bytes() const { return {data_, data_ ? size_ : 0}; }

 private:
  int fd_ = -1;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// Keeps the last freed block and hands it out again when it is big enough.
class RecyclingAllocator : public BlockAllocator {
 public:
  ~RecyclingAllocator() override { std::free(kept_); }
  void* Allocate(size_t bytes) override {
    if (kept_ && keptSize_ >= bytes) {
      void* block = kept_;
      kept_ = nullptr;
      return block;
    }
    sizes_ = bytes;
    return std::malloc(bytes);
  }
  void Free(void* block) override {
    std::free(kept_);
    kept_ = block;
    keptSize_ = sizes_;
  }

 private:
  void* kept_ = nullptr;
  size_t keptSize_ = 0;
  size_t sizes_ = 0;
};

// Maps new pages for every block and unmaps them when it is freed, so every
// decode writes pages the kernel has yet to fault in and zero, whatever the C
// library's thresholds for reusing its own memory (a 12 MB block would come
// back from its heap).
class FreshAllocator : public BlockAllocator {
 public:
  void* Allocate(size_t bytes) override {
    void* view = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (view == MAP_FAILED) return nullptr;
    size_ = bytes;
    return view;
  }
  void Free(void* block) override { munmap(block, size_); }

 private:
  size_t size_ = 0;  // of the one block outstanding at a time
};

long PageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

template <void* (*Decode)(std::span<const uint8_t>, BlockAllocator&)>
void DecodeFile(benchmark::State& state, const char* name) {
  const std::string path = PathOf(name);
  RecyclingAllocator recycled;
  FreshAllocator fresh;
  BlockAllocator& allocator = state.range(0) ? static_cast<BlockAllocator&>(fresh) : recycled;
  long faults = 0;
  for (auto _ : state) {
    const long before = PageFaults();
    Mapped file(path);
    void* block = Decode(file.Bytes(), allocator);
    if (block == nullptr) {
      state.SkipWithError(("cannot decode " + path).c_str());
      return;
    }
    benchmark::DoNotOptimize(block);
    faults += PageFaults() - before;
    // Freeing is not part of decoding (orvalenx_peers.py times Pillow's
    // loads without it too); unmapping a fresh block takes a millisecond or two.
    state.PauseTiming();
    allocator.Free(block);
    state.ResumeTiming();
  }
  state.counters["faults"] = benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
}

// The least any decoder of the 24-bit BMP does: the whole file copied into a
// block of its size, with no parsing. On fresh pages this is nearly all page
// faults, and it bounds from below what a decode into new memory can cost.
void* CopyWholeFile(std::span<const uint8_t> bytes, BlockAllocator& allocator) {
  if (bytes.empty()) return nullptr;
  void* block = allocator.Allocate(bytes.size());
  if (block) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

void BM_CopyBmp24(benchmark::State& state) { DecodeFile<CopyWholeFile>(state, "photo24.bmp"); }
void BM_DecodeBmp24(benchmark::State& state) { DecodeFile<DecodeBmpFile>(state, "photo24.bmp"); }
void BM_DecodeBmpRle8(benchmark::State& state) { DecodeFile<DecodeBmpFile>(state, "drawing8.rle.bmp"); }
void BM_DecodePcx24(benchmark::State& state) { DecodeFile<DecodePcxFile>(state, "photo24.pcx"); }

// CalculateHistogram, QuantizeHistogram(256) and ApplyQuantizedPalette on a
// 1920 x 1080 photo; the counter "rms" is the error per channel.
void BM_QuantizeAndMap(benchmark::State& state) {
  HeapAllocator heap;
  Mapped file(PathOf("photo1080.bmp"));
  void* source = DecodeBmpFile(file.Bytes(), heap);
  if (source == nullptr) {
    state.SkipWithError("cannot decode photo1080.bmp");
    return;
  }
  const auto layout = PlanDib(1920, 1080, 24, 0);
  const auto* block = static_cast<const uint8_t*>(source);
  void* mapped = nullptr;
  for (auto _ : state) {
    if (mapped) heap.Free(mapped);
    ColorHistogram histogram;
    histogram.AddDib(block, layout->totalBytes);
    RgbQuad palette[256];
    const int count = histogram.Quantize(256, palette);
    mapped = MapToPalette(block, layout->totalBytes, std::span<const RgbQuad>(palette, count), heap);
    benchmark::DoNotOptimize(mapped);
  }
  const auto out = ParsePackedDib(static_cast<const uint8_t*>(mapped), SIZE_MAX);
  const auto* table = static_cast<const uint8_t*>(mapped) + out->colorTableOffset;
  double sum = 0;
  for (int32_t y = 0; y < 1080; ++y) {
    const uint8_t* s = block + layout->bitsOffset + static_cast<size_t>(y) * layout->stride;
    const uint8_t* m = static_cast<const uint8_t*>(mapped) + out->bitsOffset + static_cast<size_t>(y) * out->stride;
    for (int32_t x = 0; x < 1920; ++x) {
      const uint8_t* c = table + 4 * m[x];
      for (int k = 0; k < 3; ++k) sum += (s[3 * x + k] - c[k]) * (s[3 * x + k] - c[k]);
    }
  }
  state.counters["rms"] = std::sqrt(sum / (3.0 * 1920 * 1080));
  heap.Free(mapped);
  heap.Free(source);
}

BENCHMARK(BM_CopyBmp24)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmp24)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeBmpRle8)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePcx24)->ArgName("fresh")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuantizeAndMap)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvalen

BENCHMARK_MAIN();
