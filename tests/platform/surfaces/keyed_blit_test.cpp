// Keyed blits: every row shape (runs, scattered pixels, all key, none) at every depth and on
// every instruction set the machine runs, against the plain rule "a source pixel equal to the
// key leaves the destination, any other replaces it"; and the source's noted runs forgotten
// by every way of changing its pixels or its key.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "platform/headless/headless_display.h"
#include "platform/surfaces/row_kernels.h"
#include "platform/surfaces/surface.h"
#include "platform/surfaces/surface_device.h"

namespace kelvox::platform {
namespace {

constexpr uint32_t kBackground = 0x5A5A5A;  // cut to each depth's width below

uint32_t widthMask(int bytes) { return bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1; }

TEST(KeyedRowCopy, EveryPathAndWidthAgainstTheRule) {
  std::mt19937 rng(7);
  for (SimdPath path : {SimdPath::Portable, SimdPath::Sse2, SimdPath::Avx2}) {
    if (!simdPathAvailable(path)) continue;
    for (int bytes = 1; bytes <= 4; ++bytes) {
      const uint32_t key = 0x00A1B2C3u & widthMask(bytes);
      for (int count = 0; count <= 40; ++count) {
        std::vector<uint32_t> s(static_cast<size_t>(count));
        for (auto& p : s) p = rng() % 3 == 0 ? key : rng() & widthMask(bytes);
        std::vector<uint8_t> from(static_cast<size_t>(count * bytes) + 1), to(static_cast<size_t>(count * bytes) + 2, 0xEE);
        for (int i = 0; i < count; ++i)
          for (int b = 0; b < bytes; ++b) from[static_cast<size_t>(i * bytes + b)] = static_cast<uint8_t>(s[static_cast<size_t>(i)] >> (8 * b));
        copyKeyedRow(path, to.data() + 1, from.data(), count, bytes, key);
        ASSERT_EQ(to.front(), 0xEE);
        ASSERT_EQ(to.back(), 0xEE) << "wrote past the row";
        for (int i = 0; i < count; ++i)
          for (int b = 0; b < bytes; ++b) {
            const uint8_t want = s[static_cast<size_t>(i)] == key ? 0xEE : from[static_cast<size_t>(i * bytes + b)];
            ASSERT_EQ(to[static_cast<size_t>(1 + i * bytes + b)], want)
                << simdPathName(path) << " " << bytes << " bytes, width " << count << " pixel " << i;
          }
      }
    }
  }
}

TEST(KeyedRowCopy, AKeyWiderThanThePixelKeysNothing) {
  const uint16_t s[3] = {0x0000, 0x1234, 0xFFFF};
  uint16_t d[3] = {1, 2, 3};
  copyKeyedRow(reinterpret_cast<uint8_t*>(d), reinterpret_cast<const uint8_t*>(s), 3, 2, 0x10000);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(d[i], s[i]);
}

struct KeyedBlits : ::testing::Test {
  HeadlessDisplay screen;
  SurfaceDevice device{screen};
  std::unique_ptr<Surface> make(int w, int h) {
    std::unique_ptr<Surface> s;
    EXPECT_EQ(device.createSurface(w, h, SurfaceMemory::System, s), SurfaceResult::Ok);
    return s;
  }
  // Blits [area] of [src] keyed to (1, 1) of a fresh background and checks every pixel.
  void expectKeyedBlit(Surface& src, const SurfaceRect& area, uint32_t key, const char* what) {
    const uint32_t background = kBackground & widthMask(src.bytesPerPixel());
    auto dst = make(src.width() + 2, src.height() + 2);
    ASSERT_EQ(dst->colorFill(nullptr, background), SurfaceResult::Ok);
    ASSERT_EQ(dst->bltFast(1, 1, &src, &area, true), SurfaceResult::Ok) << what;
    for (int y = 0; y < dst->height(); ++y)
      for (int x = 0; x < dst->width(); ++x) {
        const int sx = x - 1 + area.left, sy = y - 1 + area.top;
        const bool inside = sx >= area.left && sx < area.right && sy >= area.top && sy < area.bottom;
        const uint32_t v = inside ? src.rawPixel(sx, sy) : key;
        ASSERT_EQ(dst->rawPixel(x, y), v == key ? background : v)
            << what << ", depth bits " << src.format().bitsPerPixel << " at (" << x << ", " << y << ")";
      }
  }
};

// Rows of each shape: nothing but the key, one run, 16-pixel blocks, single pixels, random
// pixels, no key at all, runs touching both edges.
void paintShapes(Surface& s, uint32_t key, uint32_t colour) {
  std::mt19937 rng(3);
  SurfaceRect all{0, 0, s.width(), s.height()};
  ASSERT_EQ(s.colorFill(&all, key), SurfaceResult::Ok);
  for (int x = 0; x < s.width(); ++x) {
    auto put = [&](int y, bool on) {
      SurfaceRect r{x, y, x + 1, y + 1};
      if (on) {
        ASSERT_EQ(s.colorFill(&r, colour + static_cast<uint32_t>(x)), SurfaceResult::Ok);
      }
    };
    put(1, x >= 5 && x < 30);
    put(2, (x / 16) % 2 == 0);
    put(3, x % 2 == 1);
    put(4, rng() % 2 == 0);
    put(5, true);
    put(6, x < 3 || x >= s.width() - 3);
  }
}

TEST_F(KeyedBlits, EveryRowShapeAndClipAtEveryDepth) {
  const SurfaceRect areas[] = {{0, 0, 70, 7}, {6, 0, 40, 7}, {17, 1, 18, 7}, {0, 2, 3, 5}, {67, 0, 70, 7}};
  for (int depth : {8, 15, 16, 24, 32}) {
    device.setDesktopDepth(depth);
    auto src = make(70, 7);
    const uint32_t key = depth == 8 ? 0x03 : 0x0001, colour = depth == 8 ? 0x10 : 0x0100;
    paintShapes(*src, key, colour);
    ASSERT_EQ(src->setColorKey(key), SurfaceResult::Ok);
    for (const SurfaceRect& a : areas) {
      expectKeyedBlit(*src, a, key, "first blit");
      expectKeyedBlit(*src, a, key, "again, from the noted runs");
    }
  }
}

TEST_F(KeyedBlits, EveryChangeOfTheSourceIsSeenByTheNextBlit) {
  device.setDesktopDepth(32);
  auto other = make(70, 7);
  ASSERT_EQ(other->colorFill(nullptr, 0x00123456), SurfaceResult::Ok);
  struct Case {
    const char* name;
    std::function<void(Surface&)> change;
    uint32_t keyAfter;
  };
  const Case cases[] = {
      {"read-write lock", [](Surface& s) {
         LockedArea a;
         ASSERT_EQ(s.lock(nullptr, a), SurfaceResult::Ok);
         for (int x = 8; x < 12; ++x) std::memset(a.pixels + static_cast<size_t>(a.pitch) * 5 + 4 * static_cast<size_t>(x), 0, 4);
         a.pixels[4 * 60] = 0x77;  // a pixel in an all-key row
         s.unlock();
       }, 0},
      {"device context", [](Surface& s) {
         LockedArea a;
         ASSERT_EQ(s.getDC(a), SurfaceResult::Ok);
         a.pixels[static_cast<size_t>(a.pitch) * 1 + 4 * 10] = 0;  // a hole in the run
         a.pixels[4 * 2] = 0x42;                                 // a pixel in an all-key row
         s.releaseDC();
       }, 0},
      {"colour fill", [](Surface& s) { SurfaceRect r{10, 0, 50, 7}; ASSERT_EQ(s.colorFill(&r, 0), SurfaceResult::Ok); }, 0},
      {"blt into it", [&](Surface& s) { SurfaceRect r{0, 2, 35, 5}; ASSERT_EQ(s.blt(&r, other.get(), &r, false), SurfaceResult::Ok); }, 0},
      {"bltFast into it", [&](Surface& s) { SurfaceRect r{0, 0, 20, 7}; ASSERT_EQ(s.bltFast(50, 0, other.get(), &r, false), SurfaceResult::Ok); }, 0},
      {"new colour key", [](Surface& s) { ASSERT_EQ(s.setColorKey(0x0100 + 7), SurfaceResult::Ok); }, 0x0100 + 7},
      {"lost and restored", [](Surface& s) { s.markLost(); ASSERT_EQ(s.restore(), SurfaceResult::Ok); }, 0},
  };
  for (const Case& c : cases) {
    auto src = make(70, 7);
    paintShapes(*src, 0, 0x0100);
    ASSERT_EQ(src->setColorKey(0), SurfaceResult::Ok);
    expectKeyedBlit(*src, {0, 0, 70, 7}, 0, "before");
    c.change(*src);
    expectKeyedBlit(*src, {0, 0, 70, 7}, c.keyAfter, c.name);
  }
}

}  // namespace
}  // namespace kelvox::platform
