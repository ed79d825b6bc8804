// kvtool render --size: the icons are the frame's centred square scaled down, each pixel the
// rounded mean of the frame pixels its box covers.
#include <png.h>
#include <sys/wait.h>

#include "test_util.h"

namespace {

// An RGB picture read back from a PNG file; empty when it cannot be read.
struct Rgb {
  int width = 0, height = 0;
  std::vector<png_byte> bytes;
  explicit Rgb(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return;
    image.format = PNG_FORMAT_RGB;
    bytes.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr))
      width = int(image.width), height = int(image.height);
  }
  int At(int x, int y, int c) const { return bytes[(y * width + x) * 3 + c]; }
};

// kvtool's exit status, its error output dropped.
int Kvtool(const std::string& arguments) {
  const int status =
      std::system((KORVANE_BUILD_DIR "/kvtool " + arguments + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(KvtoolRenderSize, IconsAreTheCentredSquareScaledByBoxMeans) {
  DataFolder data;  // the made-up data, and where the pictures go
  const std::string out = data.path + "/", view = " --camera 450,-380,560,0,320";
  ASSERT_EQ(Kvtool("render " + out + "full.png" + view), 0) << "is kvtool built?";
  const Rgb full(out + "full.png");
  ASSERT_TRUE(full.width == 800 && full.height == 600);
  // The square is the frame's columns 100..699; at 600 each box is one pixel, and 64 does not
  // divide 600: those boxes are 9 or 10 pixels wide, edges at i * 600 / 64. Each icon pixel is
  // the rounded mean of its box.
  for (int size : {600, 64}) {
    const std::string name = out + "icon" + std::to_string(size) + ".png";
    ASSERT_EQ(Kvtool("render " + name + view + " --size " + std::to_string(size)), 0);
    const Rgb icon(name);
    ASSERT_TRUE(icon.width == size && icon.height == size) << size;
    int wrong = 0;
    for (int p = 0; p < size * size * 3; ++p) {
      const int x = p / 3 % size, y = p / 3 / size, c = p % 3;
      const int x0 = 100 + x * 600 / size, x1 = 100 + (x + 1) * 600 / size;
      const int y0 = y * 600 / size, y1 = (y + 1) * 600 / size, count = (x1 - x0) * (y1 - y0);
      int sum = 0;
      for (int v = y0; v < y1; ++v)
        for (int u = x0; u < x1; ++u) sum += full.At(u, v, c);
      wrong += icon.At(x, y, c) != (sum + count / 2) / count;
    }
    EXPECT_EQ(wrong, 0) << size;
  }
  for (const char* bad : {"0", "601", "64x", ""}) {
    EXPECT_EQ(Kvtool("render " + out + "bad.png --size " + bad), 2) << bad;
    EXPECT_FALSE(std::ifstream(out + "bad.png").good()) << bad;
  }
}

}  // namespace
