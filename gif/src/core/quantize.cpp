#include "gif/quantize.h"

#include <algorithm>
#include <vector>

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits)
    : maxColors_(std::max(1, MaxColors)),
      colorBits_(std::clamp(ColorBits, 1, 8)),
      root_(std::make_unique<TOctreeNode>()) {}

TColorQuantizer::~TColorQuantizer() = default;

TOctreeNode* TColorQuantizer::NewNode(int Level) {
  auto* n = new TOctreeNode;
  if (Level == colorBits_) {
    n->Leaf = true;
    ++leafCount_;
  } else {
    n->NextReducible = reducible_[Level];
    reducible_[Level] = n;
  }
  return n;
}

void TColorQuantizer::AddColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue) {
  TOctreeNode* node = root_.get();
  for (int level = 0;; ++level) {
    if (node->Leaf) {
      node->PixelCount += 1;
      node->RedSum += Red;
      node->GreenSum += Green;
      node->BlueSum += Blue;
      break;
    }
    int shift = 7 - level;
    int m = 0x80 >> level;
    int index = (((Red & m) >> shift) << 2) | (((Green & m) >> shift) << 1) | ((Blue & m) >> shift);
    std::unique_ptr<TOctreeNode>& child = node->Child[index];
    if (!child) child.reset(NewNode(level + 1));
    node = child.get();
  }
  // Once only the root's children are left the tree cannot fold further;
  // Palette() merges what still exceeds the limit.
  while (leafCount_ > maxColors_ && Reduce()) {
  }
}

void TColorQuantizer::AddPixels(const std::uint8_t* Row, int Count, int BytesPerPixel) {
  for (int x = 0; x < Count; ++x, Row += BytesPerPixel) AddColor(Row[2], Row[1], Row[0]);
}

bool TColorQuantizer::Reduce() {
  int level = colorBits_ - 1;
  while (level >= 1 && !reducible_[level]) --level;
  if (level < 1) return false;
  TOctreeNode* node = reducible_[level];
  reducible_[level] = node->NextReducible;
  node->NextReducible = nullptr;
  int children = 0;
  for (auto& c : node->Child) {
    if (!c) continue;
    node->PixelCount += c->PixelCount;
    node->RedSum += c->RedSum;
    node->GreenSum += c->GreenSum;
    node->BlueSum += c->BlueSum;
    c.reset();
    ++children;
  }
  node->Leaf = true;
  leafCount_ -= children - 1;
  return true;
}

namespace {
struct TLeafColor {
  std::uint64_t Count, Red, Green, Blue;
  int R() const { return Count ? int(Red / Count) : 0; }
  int G() const { return Count ? int(Green / Count) : 0; }
  int B() const { return Count ? int(Blue / Count) : 0; }
};

void CollectLeaves(const TOctreeNode* n, std::vector<TLeafColor>& out) {
  if (n->Leaf) {
    out.push_back({n->PixelCount, n->RedSum, n->GreenSum, n->BlueSum});
    return;
  }
  for (const auto& c : n->Child)
    if (c) CollectLeaves(c.get(), out);
}

// Folds the least used colour into its nearest neighbour until the limit holds.
void MergeDown(std::vector<TLeafColor>& leaves, std::size_t limit) {
  while (leaves.size() > limit) {
    std::size_t least = 0;
    for (std::size_t i = 1; i < leaves.size(); ++i)
      if (leaves[i].Count < leaves[least].Count) least = i;
    const TLeafColor& a = leaves[least];
    std::size_t nearest = least == 0 ? 1 : 0;
    long bestDist = -1;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
      if (i == least) continue;
      long dr = leaves[i].R() - a.R(), dg = leaves[i].G() - a.G(), db = leaves[i].B() - a.B();
      long d = dr * dr + dg * dg + db * db;
      if (bestDist < 0 || d < bestDist) {
        bestDist = d;
        nearest = i;
      }
    }
    TLeafColor& b = leaves[nearest];
    b.Count += a.Count;
    b.Red += a.Red;
    b.Green += a.Green;
    b.Blue += a.Blue;
    leaves.erase(leaves.begin() + std::ptrdiff_t(least));
  }
}
}  // namespace

TColorPalette TColorQuantizer::Palette() const {
  std::vector<TLeafColor> leaves;
  CollectLeaves(root_.get(), leaves);
  MergeDown(leaves, std::size_t(maxColors_));
  TColorPalette p;
  p.reserve(leaves.size());
  for (const TLeafColor& l : leaves)
    p.push_back({std::uint8_t(l.R()), std::uint8_t(l.G()), std::uint8_t(l.B()), PC_NOCOLLAPSE});
  return p;
}
