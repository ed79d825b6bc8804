// kvtool render --size: the icons are the frame's centred square scaled down, each pixel the
// rounded mean of the frame pixels its box covers.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

struct Rgb {
  int width = 0, height = 0;
  std::vector<png_byte> bytes;
  int At(int x, int y, int c) const { return bytes[(y * width + x) * 3 + c]; }
};

bool ReadPng(const std::string& path, Rgb* picture) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGB;
  picture->width = static_cast<int>(image.width);
  picture->height = static_cast<int>(image.height);
  picture->bytes.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, picture->bytes.data(), 0, nullptr) != 0;
}

// kvtool's exit status, its error output dropped.
int Kvtool(const std::string& arguments) {
  const std::string command =
      std::string(KORVANE_BUILD_DIR) + "/kvtool " + arguments + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The mean of box [x0, x1) x [y0, y1) of the frame, rounded to nearest.
int BoxMean(const Rgb& frame, int x0, int x1, int y0, int y1, int c) {
  int sum = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) sum += frame.At(x, y, c);
  }
  const int count = (x1 - x0) * (y1 - y0);
  return (sum + count / 2) / count;
}

TEST(KvtoolRenderSize, IconsAreTheCentredSquareScaledByBoxMeans) {
  DataFolder data;
  const std::string out = data.path + "/";
  const std::string view = " --camera 450,-380,560,0,320";
  ASSERT_EQ(Kvtool("render " + out + "full.png" + view), 0) << "is kvtool built?";
  Rgb full;
  ASSERT_TRUE(ReadPng(out + "full.png", &full));
  ASSERT_TRUE(full.width == 800 && full.height == 600);

  // The square is the frame's columns 100..699; at 600 each box is one pixel, and 64 does not
  // divide 600: those boxes are 9 or 10 pixels wide, edges at i * 600 / 64.
  for (int size : {600, 64}) {
    const std::string name = out + "icon" + std::to_string(size) + ".png";
    ASSERT_EQ(Kvtool("render " + name + view + " --size " + std::to_string(size)), 0);
    Rgb icon;
    ASSERT_TRUE(ReadPng(name, &icon));
    ASSERT_TRUE(icon.width == size && icon.height == size) << size;
    int wrong = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        for (int c = 0; c < 3; ++c) {
          const int expected = BoxMean(full, 100 + x * 600 / size, 100 + (x + 1) * 600 / size,
                                       y * 600 / size, (y + 1) * 600 / size, c);
          wrong += icon.At(x, y, c) != expected;
        }
      }
    }
    EXPECT_EQ(wrong, 0) << size;
    std::remove(name.c_str());
  }
  std::remove((out + "full.png").c_str());

  for (const char* bad : {"0", "601", "64x", ""}) {
    EXPECT_EQ(Kvtool("render " + out + "bad.png --size " + bad), 2) << bad;
    EXPECT_FALSE(std::ifstream(out + "bad.png").good()) << bad;
  }
}

}  // namespace
