// platform-demo: a moving test pattern through the 3D program's platform layer, in the order the
// game uses it. Shows the mouse position and the keys held; Escape quits, and so does
// --seconds N after N seconds. Prints input changes and a frame count to stdout.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform3d/memory.h"
#include "platform3d/platform.h"

namespace {

constexpr uint16_t Rgb(int r, int g, int b) {
  return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

void FillRect(int32_t x0, int32_t y0, int32_t w, int32_t h, uint16_t colour) {
  for (int32_t y = y0; y < y0 + h; ++y) {
    if (y < 0 || y >= BackBuffer.height) continue;
    for (int32_t x = x0; x < x0 + w; ++x) {
      if (x >= 0 && x < BackBuffer.width) BackBuffer.pixels[y * BackBuffer.width + x] = colour;
    }
  }
}

// 3x5 digits, one row of three bits per entry, top row first.
constexpr uint8_t DigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

void DrawNumber(int32_t x, int32_t y, uint32_t value, uint16_t colour) {
  char text[12];
  std::snprintf(text, sizeof text, "%u", value);
  constexpr int32_t Scale = 4;
  for (const char* c = text; *c != '\0'; ++c, x += 4 * Scale) {
    for (int32_t row = 0; row < 5; ++row) {
      for (int32_t col = 0; col < 3; ++col) {
        if (DigitRows[*c - '0'][row] & (4 >> col)) {
          FillRect(x + col * Scale, y + row * Scale, Scale, Scale, colour);
        }
      }
    }
  }
}

void DrawFrame(uint32_t frame) {
  // Moving diagonal colour bands: tearing or a stuck frame shows at once.
  for (int32_t y = 0; y < BackBuffer.height; ++y) {
    uint16_t* row = BackBuffer.pixels + y * BackBuffer.width;
    for (int32_t x = 0; x < BackBuffer.width; ++x) {
      uint32_t band = (static_cast<uint32_t>(x + y) + frame * 4) / 40;
      row[x] = (band % 2) ? Rgb(20, 40, 90) : Rgb(30, 70, 40);
    }
  }
  // The frame's border, to check that all of it is on the screen.
  FillRect(0, 0, BackBuffer.width, 4, Rgb(255, 255, 255));
  FillRect(0, BackBuffer.height - 4, BackBuffer.width, 4, Rgb(255, 255, 255));
  FillRect(0, 0, 4, BackBuffer.height, Rgb(255, 255, 255));
  FillRect(BackBuffer.width - 4, 0, 4, BackBuffer.height, Rgb(255, 255, 255));
  // A square bouncing left and right.
  int32_t travel = BackBuffer.width - 100;
  int32_t phase = static_cast<int32_t>((frame * 6) % (2 * travel));
  FillRect(phase < travel ? phase : 2 * travel - phase, 250, 60, 60, Rgb(240, 200, 40));
  // Mouse position as numbers and a cross, buttons as two boxes.
  DrawNumber(20, 20, MouseX, Rgb(255, 255, 255));
  DrawNumber(120, 20, MouseY, Rgb(255, 255, 255));
  FillRect(220, 20, 20, 20, LeftButton ? Rgb(255, 60, 60) : Rgb(60, 20, 20));
  FillRect(245, 20, 20, 20, RightButton ? Rgb(60, 120, 255) : Rgb(20, 20, 60));
  FillRect(MouseX - 10, MouseY, 21, 1, Rgb(255, 255, 0));
  FillRect(MouseX, MouseY - 10, 1, 21, Rgb(255, 255, 0));
  // Keys held: a 16 x 16 grid, one cell per virtual-key code, lit while held, and the codes.
  int32_t listX = 20;
  for (int32_t code = 0; code < 256; ++code) {
    int32_t cx = 560 + (code % 16) * 14, cy = 360 + (code / 16) * 14;
    FillRect(cx, cy, 12, 12, KeyDown[code] ? Rgb(255, 255, 255) : Rgb(40, 40, 40));
    if (KeyDown[code] && listX < 500) {
      DrawNumber(listX, 560, static_cast<uint32_t>(code), Rgb(255, 255, 255));
      listX += 60;
    }
  }
}

void ReportInputChanges(uint8_t* lastKeys, uint8_t* lastButtons) {
  for (int32_t code = 0; code < KeyCount; ++code) {
    if (KeyDown[code] != lastKeys[code]) {
      std::printf("key %d %s\n", code, KeyDown[code] ? "down" : "up");
      lastKeys[code] = KeyDown[code];
    }
  }
  uint8_t buttons[2] = {LeftButton, RightButton};
  const char* names[2] = {"left", "right"};
  for (int32_t b = 0; b < 2; ++b) {
    if (buttons[b] != lastButtons[b]) {
      std::printf("%s button %s at %u %u\n", names[b], buttons[b] ? "down" : "up", MouseX, MouseY);
      lastButtons[b] = buttons[b];
    }
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = 0;  // 0: until Escape
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: platform-demo [--seconds N]\n");
      return 2;
    }
  }

  PlatformStart();
  RegisterWindowClass();
  CreateMainWindow("Korvane 3D v1.0");
  WaitForCreate();
  EnterFullScreen(FrameWidth, FrameHeight);
  PresentFrame(ScreenSurface.pixels);
  AllocSurface(&BackBuffer, FrameWidth, FrameHeight, true);
  ShowMouse(true);

  uint8_t lastKeys[KeyCount] = {};
  uint8_t lastButtons[2] = {};
  auto start = std::chrono::steady_clock::now();
  uint32_t frames = 0;
  // PresentFrame and PumpMessages without the wait for the frame's turn: what every frame pays.
  std::vector<double> presentTimes;
  for (;;) {
    double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds > 0 && elapsed >= seconds) break;
    DrawFrame(frames);
    const auto presentStart = std::chrono::steady_clock::now();
    const double pacing = FrameMicrosecondsLeft() / 1000.0;  // PresentFrame first waits this long
    PresentFrame(BackBuffer.pixels);
    PumpMessages();
    presentTimes.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - presentStart)
            .count() -
        pacing);
    ++frames;
    WaitWhileInactive();
    ReportInputChanges(lastKeys, lastButtons);
    if (KeyDown[VkEscape] || QuitRequested) break;
  }
  double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  FreeSurface(&BackBuffer);
  LeaveFullScreen();
  LeakReport();
  DestroyMainWindow();
  std::printf("%u frames in %.2f s: %.1f frames per second\n", frames, elapsed,
              elapsed > 0 ? frames / elapsed : 0.0);
  if (!presentTimes.empty()) {
    std::sort(presentTimes.begin(), presentTimes.end());
    std::printf("present and pump: %.3f ms median per frame\n",
                presentTimes[presentTimes.size() / 2]);
  }
  return 0;
}
