// Octree colour quantiser: builds an optimised palette of at most a given
// number of colours from the colours of a picture.
#pragma once
#include <array>
#include <cstdint>
#include <memory>

#include "gif/palette.h"

struct TOctreeNode {
  bool Leaf = false;
  std::uint64_t PixelCount = 0;
  std::uint64_t RedSum = 0, GreenSum = 0, BlueSum = 0;
  TOctreeNode* NextReducible = nullptr;
  std::array<std::unique_ptr<TOctreeNode>, 8> Child;
};

class TColorQuantizer {
public:
  // MaxColors is at least 1 (a smaller count is taken as 1); ColorBits 1..8.
  explicit TColorQuantizer(int MaxColors, int ColorBits = 8);
  ~TColorQuantizer();
  TColorQuantizer(const TColorQuantizer&) = delete;
  TColorQuantizer& operator=(const TColorQuantizer&) = delete;

  // Adds one pixel, folding the tree back whenever it holds too many colours.
  void AddColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue);
  // Adds every pixel of a row of blue, green, red triples (BytesPerPixel 3 or 4).
  void AddPixels(const std::uint8_t* Row, int Count, int BytesPerPixel);

  int MaxColors() const { return maxColors_; }
  int LeafCount() const { return leafCount_; }

  // The colours found, depth first, children 0 to 7, each the mean of its
  // pixels; never more than MaxColors entries. Flags PC_NOCOLLAPSE.
  TColorPalette Palette() const;

private:
  bool Reduce();  // false when nothing below the root is left to fold
  TOctreeNode* NewNode(int Level);

  int maxColors_;
  int colorBits_;
  int leafCount_ = 0;
  std::unique_ptr<TOctreeNode> root_;
  std::array<TOctreeNode*, 9> reducible_{};  // front of each level's list
};
