#include "orvalenx/color_histogram.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/byte_order.h"
#include "orvalenx/nearest_color.h"

namespace orvalen {
namespace {

constexpr int kSide = ColorHistogram::kLevels + 1;  // moments keep a zero plane at index 0

inline size_t At(int r, int g, int b) { return (static_cast<size_t>(r) * kSide + g) * kSide + b; }

// Cumulative moments: entry (r, g, b) sums every cell at or below it on all
// three axes, so any box's totals take eight lookups.
struct Moments {
  std::vector<int64_t> weight, red, green, blue, squares;
  Moments() : weight(kSide * kSide * kSide), red(weight.size()), green(weight.size()), blue(weight.size()), squares(weight.size()) {}
};

struct Box {
  int r0, r1, g0, g1, b0, b1;  // lower bounds exclusive, upper inclusive
  int Volume() const { return (r1 - r0) * (g1 - g0) * (b1 - b0); }
};

enum Axis { kRed, kGreen, kBlue };

int64_t Volume(const Box& c, const std::vector<int64_t>& m) {
  return m[At(c.r1, c.g1, c.b1)] - m[At(c.r1, c.g1, c.b0)] - m[At(c.r1, c.g0, c.b1)] + m[At(c.r1, c.g0, c.b0)] -
         m[At(c.r0, c.g1, c.b1)] + m[At(c.r0, c.g1, c.b0)] + m[At(c.r0, c.g0, c.b1)] - m[At(c.r0, c.g0, c.b0)];
}

// The part of Volume that does not depend on the cut position along `axis`.
int64_t Bottom(const Box& c, Axis axis, const std::vector<int64_t>& m) {
  switch (axis) {
    case kRed:
      return -m[At(c.r0, c.g1, c.b1)] + m[At(c.r0, c.g1, c.b0)] + m[At(c.r0, c.g0, c.b1)] - m[At(c.r0, c.g0, c.b0)];
    case kGreen:
      return -m[At(c.r1, c.g0, c.b1)] + m[At(c.r1, c.g0, c.b0)] + m[At(c.r0, c.g0, c.b1)] - m[At(c.r0, c.g0, c.b0)];
    default:
      return -m[At(c.r1, c.g1, c.b0)] + m[At(c.r1, c.g0, c.b0)] + m[At(c.r0, c.g1, c.b0)] - m[At(c.r0, c.g0, c.b0)];
  }
}

// The part of Volume that depends on a cut at `pos` along `axis`.
int64_t Top(const Box& c, Axis axis, int pos, const std::vector<int64_t>& m) {
  switch (axis) {
    case kRed:
      return m[At(pos, c.g1, c.b1)] - m[At(pos, c.g1, c.b0)] - m[At(pos, c.g0, c.b1)] + m[At(pos, c.g0, c.b0)];
    case kGreen:
      return m[At(c.r1, pos, c.b1)] - m[At(c.r1, pos, c.b0)] - m[At(c.r0, pos, c.b1)] + m[At(c.r0, pos, c.b0)];
    default:
      return m[At(c.r1, c.g1, pos)] - m[At(c.r1, c.g0, pos)] - m[At(c.r0, c.g1, pos)] + m[At(c.r0, c.g0, pos)];
  }
}

// Sum of squared distances of the box's pixels from their mean.
double Variance(const Box& c, const Moments& m) {
  const double dr = static_cast<double>(Volume(c, m.red));
  const double dg = static_cast<double>(Volume(c, m.green));
  const double db = static_cast<double>(Volume(c, m.blue));
  const double xx = static_cast<double>(Volume(c, m.squares));
  const double w = static_cast<double>(Volume(c, m.weight));
  return xx - (dr * dr + dg * dg + db * db) / w;
}

// Best cut of the box along one axis: maximises the sum over both halves of
// (sum of colour)^2 / weight, which minimises their total variance.
double Maximize(const Box& c, Axis axis, int first, int last, int* cut, const int64_t whole[4], const Moments& m) {
  const int64_t baseR = Bottom(c, axis, m.red), baseG = Bottom(c, axis, m.green);
  const int64_t baseB = Bottom(c, axis, m.blue), baseW = Bottom(c, axis, m.weight);
  double best = 0.0;
  *cut = -1;
  for (int i = first; i < last; ++i) {
    const int64_t halfW = baseW + Top(c, axis, i, m.weight);
    if (halfW == 0) continue;
    const int64_t otherW = whole[3] - halfW;
    if (otherW == 0) continue;
    const double hr = static_cast<double>(baseR + Top(c, axis, i, m.red));
    const double hg = static_cast<double>(baseG + Top(c, axis, i, m.green));
    const double hb = static_cast<double>(baseB + Top(c, axis, i, m.blue));
    const double orr = static_cast<double>(whole[0]) - hr;
    const double og = static_cast<double>(whole[1]) - hg;
    const double ob = static_cast<double>(whole[2]) - hb;
    const double value = (hr * hr + hg * hg + hb * hb) / static_cast<double>(halfW) +
                         (orr * orr + og * og + ob * ob) / static_cast<double>(otherW);
    if (value > best) {
      best = value;
      *cut = i;
    }
  }
  return best;
}

bool Cut(Box& set1, Box& set2, const Moments& m) {
  const int64_t whole[4] = {Volume(set1, m.red), Volume(set1, m.green), Volume(set1, m.blue), Volume(set1, m.weight)};
  int cutR, cutG, cutB;
  const double maxR = Maximize(set1, kRed, set1.r0 + 1, set1.r1, &cutR, whole, m);
  const double maxG = Maximize(set1, kGreen, set1.g0 + 1, set1.g1, &cutG, whole, m);
  const double maxB = Maximize(set1, kBlue, set1.b0 + 1, set1.b1, &cutB, whole, m);
  Axis axis;
  if (maxR >= maxG && maxR >= maxB) {
    axis = kRed;
    if (cutR < 0) return false;  // no cut leaves both halves with pixels
  } else if (maxG >= maxR && maxG >= maxB) {
    axis = kGreen;
  } else {
    axis = kBlue;
  }
  set2.r1 = set1.r1;
  set2.g1 = set1.g1;
  set2.b1 = set1.b1;
  switch (axis) {
    case kRed:
      set2.r0 = set1.r1 = cutR;
      set2.g0 = set1.g0;
      set2.b0 = set1.b0;
      break;
    case kGreen:
      set2.g0 = set1.g1 = cutG;
      set2.r0 = set1.r0;
      set2.b0 = set1.b0;
      break;
    case kBlue:
      set2.b0 = set1.b1 = cutB;
      set2.r0 = set1.r0;
      set2.g0 = set1.g0;
      break;
  }
  return true;
}

inline uint8_t MeanOf(uint64_t sum, uint64_t weight) {
  return static_cast<uint8_t>(std::min<uint64_t>(255, (sum + weight / 2) / weight));
}

}  // namespace

ColorHistogram::ColorHistogram() : cells_(kLevels * kLevels * kLevels) {}

void ColorHistogram::AddColor(uint8_t red, uint8_t green, uint8_t blue, uint64_t count) {
  if (count == 0) return;
  Cell& c = cells_[CellOf(red, green, blue)];
  c.weight += count;
  c.red += count * red;
  c.green += count * green;
  c.blue += count * blue;
  c.squares += count * (static_cast<uint64_t>(red) * red + static_cast<uint64_t>(green) * green +
                        static_cast<uint64_t>(blue) * blue);
  pixels_ += count;
}

bool ColorHistogram::AddDib(const uint8_t* block, size_t size) {
  const auto pixels = DibPixels::Open(block, size);
  if (!pixels) return false;
  AddPixels(*pixels);
  return true;
}

void ColorHistogram::AddPixels(const DibPixels& pixels) {
  const DibInfo& info = pixels.Info();
  const int32_t w = info.width;
  if (w == 0 || info.height == 0) return;
  if (pixels.Indexed()) {
    std::array<uint64_t, 256> counts{};
    std::vector<uint8_t> row(static_cast<size_t>(w));
    for (int32_t y = 0; y < info.height; ++y) {
      pixels.IndexRow(y, row.data());
      for (int32_t x = 0; x < w; ++x) ++counts[row[x]];
    }
    for (int i = 0; i < 256; ++i) {
      if (counts[i] == 0) continue;
      const RgbQuad q = pixels.Color(static_cast<uint32_t>(i));
      AddColor(q.red, q.green, q.blue, counts[i]);
    }
    return;
  }
  // Pixels are first counted in 32-bit sums taken relative to the lowest
  // colour of their cell (offsets 0..7 per channel), folded into the 64-bit
  // cells before any sum can overflow: half the memory per pixel.
  struct Partial {
    uint32_t weight, red, green, blue, squares;
  };
  constexpr int32_t kFoldEvery = 1 << 24;  // 147 * 2^24 < 2^32
  std::vector<Partial> partial(cells_.size());
  auto fold = [&] {
    for (size_t i = 0; i < partial.size(); ++i) {
      const Partial& p = partial[i];
      if (p.weight == 0) continue;
      const uint64_t r = (i >> 10) << 3, g = ((i >> 5) & 31) << 3, b = (i & 31) << 3;
      Cell& c = cells_[i];
      c.weight += p.weight;
      c.red += p.weight * r + p.red;
      c.green += p.weight * g + p.green;
      c.blue += p.weight * b + p.blue;
      c.squares += p.weight * (r * r + g * g + b * b) + 2 * (r * p.red + g * p.green + b * p.blue) + p.squares;
      partial[i] = Partial{};
    }
  };
  std::vector<uint8_t> scratch(static_cast<size_t>(w) * 3);
  Partial* cells = partial.data();
  int64_t sinceFold = 0;
  for (int32_t y = 0; y < info.height; ++y) {
    if (sinceFold + w > kFoldEvery) {
      fold();
      sinceFold = 0;
    }
    sinceFold += w;
    const uint8_t* p = pixels.BgrRow(y, scratch.data());
    for (int32_t x = 0; x < w; ++x, p += 3) {
      const uint32_t b = p[0], g = p[1], r = p[2];
      Partial& c = cells[((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)];
      const uint32_t dr = r & 7, dg = g & 7, db = b & 7;
      ++c.weight;
      c.red += dr;
      c.green += dg;
      c.blue += db;
      c.squares += dr * dr + dg * dg + db * db;
    }
  }
  fold();
  pixels_ += static_cast<uint64_t>(w) * static_cast<uint64_t>(info.height);
}

int ColorHistogram::Quantize(int maxColors, RgbQuad* palette) const {
  if (maxColors <= 0 || pixels_ == 0) return 0;
  const int wanted = std::min(maxColors, kMaxColors);

  // Cumulative moments over the cells, a plane at a time.
  Moments m;
  for (int r = 1; r < kSide; ++r) {
    std::array<int64_t, kSide> areaW{}, areaR{}, areaG{}, areaB{}, areaS{};
    for (int g = 1; g < kSide; ++g) {
      int64_t lineW = 0, lineR = 0, lineG = 0, lineB = 0, lineS = 0;
      for (int b = 1; b < kSide; ++b) {
        const Cell& c = cells_[((r - 1) << 10) | ((g - 1) << 5) | (b - 1)];
        lineW += static_cast<int64_t>(c.weight);
        lineR += static_cast<int64_t>(c.red);
        lineG += static_cast<int64_t>(c.green);
        lineB += static_cast<int64_t>(c.blue);
        lineS += static_cast<int64_t>(c.squares);
        areaW[b] += lineW;
        areaR[b] += lineR;
        areaG[b] += lineG;
        areaB[b] += lineB;
        areaS[b] += lineS;
        const size_t i = At(r, g, b), below = At(r - 1, g, b);
        m.weight[i] = m.weight[below] + areaW[b];
        m.red[i] = m.red[below] + areaR[b];
        m.green[i] = m.green[below] + areaG[b];
        m.blue[i] = m.blue[below] + areaB[b];
        m.squares[i] = m.squares[below] + areaS[b];
      }
    }
  }

  // Split the box of largest variance until there are enough boxes or no box
  // can be split.
  std::vector<Box> boxes(wanted);
  std::vector<double> variance(wanted, 0.0);
  boxes[0] = Box{0, kLevels, 0, kLevels, 0, kLevels};
  int count = 1;
  int next = 0;
  while (count < wanted) {
    if (Cut(boxes[next], boxes[count], m)) {
      variance[next] = boxes[next].Volume() > 1 ? Variance(boxes[next], m) : 0.0;
      variance[count] = boxes[count].Volume() > 1 ? Variance(boxes[count], m) : 0.0;
      ++count;
    } else {
      variance[next] = 0.0;
    }
    next = 0;
    double largest = variance[0];
    for (int k = 1; k < count; ++k) {
      if (variance[k] > largest) {
        largest = variance[k];
        next = k;
      }
    }
    if (largest <= 0.0) break;
  }

  int colors = 0;
  for (int k = 0; k < count; ++k) {
    const int64_t w = Volume(boxes[k], m.weight);
    if (w <= 0) continue;
    const auto uw = static_cast<uint64_t>(w);
    palette[colors++] = MakeQuad(MeanOf(static_cast<uint64_t>(Volume(boxes[k], m.red)), uw),
                                 MeanOf(static_cast<uint64_t>(Volume(boxes[k], m.green)), uw),
                                 MeanOf(static_cast<uint64_t>(Volume(boxes[k], m.blue)), uw));
  }

  // One refinement step: each occupied cell, taken at its mean, goes to its
  // nearest palette colour; each colour moves to the mean of what it got.
  struct Occupied {
    uint8_t r, g, b;
    const Cell* cell;
  };
  std::vector<Occupied> occupied;
  for (const Cell& c : cells_) {
    if (c.weight) occupied.push_back({MeanOf(c.red, c.weight), MeanOf(c.green, c.weight), MeanOf(c.blue, c.weight), &c});
  }
  NearestColorMap nearest(std::span<const RgbQuad>(palette, colors));
  std::vector<Cell> sums(colors);
  for (const Occupied& o : occupied) {
    Cell& s = sums[nearest.Nearest(o.r, o.g, o.b)];
    s.weight += o.cell->weight;
    s.red += o.cell->red;
    s.green += o.cell->green;
    s.blue += o.cell->blue;
  }
  for (int k = 0; k < colors; ++k) {
    if (sums[k].weight == 0) continue;
    palette[k] = MakeQuad(MeanOf(sums[k].red, sums[k].weight), MeanOf(sums[k].green, sums[k].weight),
                          MeanOf(sums[k].blue, sums[k].weight));
  }
  return colors;
}

void WriteLogPalette(uint8_t* buffer, std::span<const RgbQuad> colors) {
  WriteLe16(buffer, 0x300);
  WriteLe16(buffer + 2, static_cast<uint16_t>(colors.size()));
  uint8_t* e = buffer + 4;
  for (const RgbQuad& c : colors) {
    e[0] = c.red;
    e[1] = c.green;
    e[2] = c.blue;
    e[3] = 0;
    e += 4;
  }
}

std::vector<RgbQuad> ReadLogPalette(const uint8_t* buffer) {
  std::vector<RgbQuad> colors;
  if (buffer == nullptr) return colors;
  const uint16_t count = ReadLe16(buffer + 2);
  if (count == 0 || count > 256) return colors;
  colors.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = buffer + 4 + 4 * static_cast<size_t>(i);
    colors.push_back(MakeQuad(e[0], e[1], e[2]));
  }
  return colors;
}

}  // namespace orvalen
