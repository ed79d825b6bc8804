// The SDL2 backend: one window, desktop full screen with the frame scaled to fit (aspect kept),
// a streaming 5-6-5 texture as the display bridge, SDL message boxes.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>
#include <thread>

#include "platform3d/backend.h"
#include "platform3d/keys.h"
#include "platform3d/platform.h"

// keys.cpp carries SDL's key code values itself; make sure they are SDL's.
static_assert(SDLK_RIGHT == SdlKeyFromScancode(79) && SDLK_UP == SdlKeyFromScancode(82));
static_assert(SDLK_KP_0 == SdlKeyFromScancode(98) && SDLK_KP_1 == SdlKeyFromScancode(89));
static_assert(SDLK_F1 == SdlKeyFromScancode(58) && SDLK_F13 == SdlKeyFromScancode(104));
static_assert(SDLK_LCTRL == SdlKeyFromScancode(224) && SDLK_RGUI == SdlKeyFromScancode(231));
static_assert(SDLK_a == 'a' && SDLK_0 == '0' && SDLK_RETURN == '\r' && SDLK_ESCAPE == 27);
static_assert(SDLK_DELETE == 127 && SDLK_KP_ENTER == SdlKeyFromScancode(88));

namespace {

constexpr int32_t IconSize = 32;

bool VideoStarted = false;
bool CursorVisible = true;
SDL_Window* Window = nullptr;
SDL_Surface* Icon = nullptr;
SDL_Renderer* Renderer = nullptr;
SDL_Texture* Texture = nullptr;
int32_t BridgeWidth = 0, BridgeHeight = 0;
std::deque<PlatformEvent> Pending;  // events made here rather than read from SDL

// A small board pattern; the window works without it.
bool MakeIcon() {
  if (Icon != nullptr) return true;
  Icon = SDL_CreateRGBSurfaceWithFormat(0, IconSize, IconSize, 16, SDL_PIXELFORMAT_RGB565);
  if (Icon == nullptr) return false;
  if (SDL_LockSurface(Icon) != 0) return true;
  for (int32_t y = 0; y < IconSize; ++y) {
    auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(Icon->pixels) + y * Icon->pitch);
    for (int32_t x = 0; x < IconSize; ++x) row[x] = ((x / 8 + y / 8) % 2) ? 0x8A22 : 0xEF5B;
  }
  SDL_UnlockSurface(Icon);
  return true;
}

// Kills every child of this process: the box's, which SDL started and waits for. They are
// found through /proc, their parent being this process.
void EndChildProcesses() {
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return;
  const std::string self = std::to_string(getpid());
  while (const dirent* entry = readdir(processes)) {
    const std::string pid = entry->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    // The parent is the second field after the command name, which is in parentheses and may
    // hold anything.
    std::string stat;
    std::getline(std::ifstream("/proc/" + pid + "/stat"), stat);
    const size_t name = stat.rfind(')');
    if (name == std::string::npos) continue;
    char state;
    char parent[16] = {};
    if (std::sscanf(stat.c_str() + name + 1, " %c %15s", &state, parent) == 2 && self == parent)
      kill(static_cast<pid_t>(std::stol(pid)), SIGKILL);
  }
  closedir(processes);
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : value > high ? high : value;
}

// Mouse positions arrive in frame pixels once the renderer has a logical size; the bars beside
// a scaled frame give positions outside it, which are pulled to its edge.
void FramePosition(int32_t x, int32_t y, int32_t* frameX, int32_t* frameY) {
  int32_t width = BridgeWidth > 0 ? BridgeWidth : FrameWidth;
  int32_t height = BridgeHeight > 0 ? BridgeHeight : FrameHeight;
  *frameX = Clamp(x, 0, width - 1);
  *frameY = Clamp(y, 0, height - 1);
}

int32_t HeldButtons(uint32_t state) {
  int32_t held = 0;
  if (state & SDL_BUTTON_LMASK) held |= MouseLeftHeld;
  if (state & SDL_BUTTON_RMASK) held |= MouseRightHeld;
  if (state & SDL_BUTTON_MMASK) held |= MouseMiddleHeld;
  return held;
}

bool TranslateWindowEvent(const SDL_WindowEvent& window, PlatformEvent* out) {
  if (Window == nullptr || window.windowID != SDL_GetWindowID(Window)) return false;
  switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      out->type = PlatformEventType::FocusGained;
      return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      out->type = PlatformEventType::FocusLost;
      return true;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
      out->type = PlatformEventType::Minimised;
      return true;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN:
      out->type = PlatformEventType::Restored;
      return true;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      out->type = PlatformEventType::Exposed;
      return true;
    case SDL_WINDOWEVENT_CLOSE:
      out->type = PlatformEventType::Quit;
      return true;
    default:
      return false;
  }
}

// One SDL event into the program's terms; false for events the program has no use for.
bool Translate(const SDL_Event& event, PlatformEvent* out) {
  *out = {PlatformEventType::Quit, 0, 0, 0};
  switch (event.type) {
    case SDL_QUIT:
      return true;
    case SDL_WINDOWEVENT:
      return TranslateWindowEvent(event.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      out->type = event.type == SDL_KEYDOWN ? PlatformEventType::KeyPressed
                                            : PlatformEventType::KeyReleased;
      out->code = VirtualKeyFromSdl(event.key.keysym.sym);
      return out->code != NoVirtualKey;
    case SDL_MOUSEMOTION:
      out->type = PlatformEventType::MouseMoved;
      out->code = HeldButtons(event.motion.state);
      FramePosition(event.motion.x, event.motion.y, &out->x, &out->y);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (event.button.button == SDL_BUTTON_LEFT) {
        out->type = down ? PlatformEventType::LeftPressed : PlatformEventType::LeftReleased;
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        out->type = down ? PlatformEventType::RightPressed : PlatformEventType::RightReleased;
      } else {
        return false;
      }
      // A click without a move before it (a touch, a synthetic click) still lands where it is.
      PlatformEvent press = *out;
      out->type = PlatformEventType::MouseMoved;
      out->code = 0;
      FramePosition(event.button.x, event.button.y, &out->x, &out->y);
      Pending.push_back(press);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

const char* BackendStartDisplay() {
  if (VideoStarted) return nullptr;
  SDL_SetMainReady();
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "1");  // one frame a refresh where the display offers it
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    // The box that follows names only the call; SDL's reason says what to mend (the display).
    std::fprintf(stderr, "korvane3d: no display: %s\n", SDL_GetError());
    return "SDL_Init";
  }
  // Without a display SDL may still offer its headless drivers; the game only runs on those
  // when they were asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  if (driver != nullptr &&
      (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
      (wanted == nullptr || SDL_strcasecmp(wanted, driver) != 0)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return "SDL_Init";
  }
  VideoStarted = true;
  SDL_ShowCursor(CursorVisible ? SDL_ENABLE : SDL_DISABLE);
  return nullptr;
}

bool BackendMakeIcon() {
  return MakeIcon();
}

const char* BackendCreateWindow(const char* title, WindowHandle* window) {
  if (!VideoStarted) return "SDL_CreateWindow";
  if (Window == nullptr) {
    Window = WindowedDisplay
                 ? SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    FrameWidth, FrameHeight, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE)
                 : SDL_CreateWindow(title, 0, 0, FrameWidth, FrameHeight,
                                    SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS);
    if (Window == nullptr) return "SDL_CreateWindow";
    if (Icon != nullptr) SDL_SetWindowIcon(Window, Icon);
  }
  *window = Window;
  Pending.push_back({PlatformEventType::Created, 0, 0, 0});
  return nullptr;
}

void BackendDestroyWindow() {
  CloseDirectDraw();
  if (Window != nullptr) SDL_DestroyWindow(Window);
  Window = nullptr;
  Pending.clear();
  if (Icon != nullptr) SDL_FreeSurface(Icon);
  Icon = nullptr;
  if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  VideoStarted = false;
}

bool BackendNextEvent(PlatformEvent* event) {
  if (!Pending.empty()) {
    *event = Pending.front();
    Pending.pop_front();
    return true;
  }
  if (!VideoStarted) return false;
  SDL_Event sdlEvent;
  while (SDL_PollEvent(&sdlEvent)) {
    if (Translate(sdlEvent, event)) return true;
  }
  return false;
}

bool BackendWaitForEvent(uint32_t milliseconds) {
  if (!Pending.empty()) return true;
  if (!VideoStarted) return false;
  // Sleeps in SDL until something arrives; the timeout only bounds one wait.
  SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds));
  return true;
}

bool BackendEventWaiting() {
  return !Pending.empty() || (VideoStarted && SDL_PollEvent(nullptr) == 1);
}

void BackendSetCursorVisible(bool visible) {
  CursorVisible = visible;
  if (VideoStarted) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

// The monitor keeps its mode: the window covers the desktop and the frame is scaled into it.
// A windowed display stays as it is; the renderer scales the frame to whatever size it has.
// The window is first moved and sized over the whole display itself, because without a window
// manager nobody acts on the full-screen request.
bool BackendSetDisplayMode(int32_t, int32_t, int32_t) {
  if (Window == nullptr || WindowedDisplay) return false;
  int display = SDL_GetWindowDisplayIndex(Window);
  SDL_Rect bounds;
  if (display >= 0 && SDL_GetDisplayBounds(display, &bounds) == 0) {
    SDL_SetWindowPosition(Window, bounds.x, bounds.y);
    SDL_SetWindowSize(Window, bounds.w, bounds.h);
  }
  return SDL_SetWindowFullscreen(Window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void BackendRestoreDisplayMode() {
  if (Window == nullptr) return;
  SDL_SetWindowFullscreen(Window, 0);
  SDL_SetWindowSize(Window, FrameWidth, FrameHeight);
  SDL_SetWindowPosition(Window, 0, 0);
}

void BackendMinimiseOrRestore(bool restore) {
  if (Window == nullptr) return;
  if (restore) {
    SDL_RestoreWindow(Window);
  } else {
    SDL_MinimizeWindow(Window);
  }
}

void BackendMessageBox(const char* title, const char* text, bool fatal) {
  std::string lines = text;
  for (char& c : lines) {
    if (c == '\r') c = '\n';
  }
  // The text goes to stderr first, so a script that runs the program sees it even while the
  // box waits for Enter or a click. Without a display started (kvtool) that is all.
  std::fprintf(stderr, "%s\n%s\n", title, lines.c_str());
  std::fflush(stderr);
  if (!VideoStarted) return;
  uint32_t kind = fatal ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
  // SDL shows the box from a process of its own and waits for it with no way out, so Ctrl-C
  // and SIGTERM would leave both running. Meanwhile a watcher thread takes the two signals and
  // ends the box's process; the program then stops as the box's end would have it: a fatal
  // error as before, any other box through a quit.
  sigset_t ending, previous;
  sigemptyset(&ending);
  sigaddset(&ending, SIGINT);
  sigaddset(&ending, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &ending, &previous);
  std::atomic<bool> closed{false};
  std::atomic<int> signalled{0};
  // A signal taken before the mask went up is already a quit, read or still in SDL's queue,
  // and nothing would act on it while the box waits: that quit is answered now, without it.
  SDL_PumpEvents();
  if (QuitRequested || SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0) {
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return;
  }
  std::thread watcher([&] {
    const timespec tick{0, 100 * 1000 * 1000};
    while (!closed) {
      const int sig = sigtimedwait(&ending, nullptr, &tick);
      if (sig > 0) signalled = sig;
      if (signalled != 0) EndChildProcesses();
    }
  });
  SDL_ShowSimpleMessageBox(kind, title, lines.c_str(), Window);
  closed = true;
  watcher.join();
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (signalled != 0) Pending.push_back({PlatformEventType::Quit, 0, 0, 0});
}

void BackendStop() {
  CloseDirectDraw();
  if (Window != nullptr) SDL_DestroyWindow(Window);
  Window = nullptr;
  SDL_Quit();
  std::exit(1);
}

void BackendDelay(uint32_t milliseconds) {
  SDL_Delay(milliseconds);
}

void BackendSleep(uint32_t microseconds) {
  std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

int32_t GetDefaultDirectDraw(WindowHandle window, int32_t width, int32_t height) {
  CloseDirectDraw();
  if (window == nullptr || window != Window || width <= 0 || height <= 0) return 1;
  // A frame shown at its own size goes through SDL's software renderer to the window system's
  // framebuffer: well under a millisecond a frame, where a GL renderer without a graphics card
  // costs several. A scaled frame goes to the accelerated renderer.
  int shownWidth = 0, shownHeight = 0;
  SDL_Rect bounds;
  if ((SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
          SDL_WINDOW_FULLSCREEN_DESKTOP &&
      SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(Window), &bounds) == 0) {
    shownWidth = bounds.w;
    shownHeight = bounds.h;
  } else {
    SDL_GetWindowSize(Window, &shownWidth, &shownHeight);
  }
  if (shownWidth == width && shownHeight == height) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    Renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
  }
  if (Renderer == nullptr) Renderer = SDL_CreateRenderer(Window, -1, 0);
  if (Renderer == nullptr) return 1;
  SDL_RenderSetLogicalSize(Renderer, width, height);
  Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, width,
                              height);
  if (Texture == nullptr) return 1;
  BridgeWidth = width;
  BridgeHeight = height;
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  SDL_RenderPresent(Renderer);
  return 0;
}

int32_t DirectDrawBlit(const uint16_t* pixels) {
  if (Texture == nullptr || pixels == nullptr) return 1;
  SDL_UpdateTexture(Texture, nullptr, pixels, BridgeWidth * 2);
  SDL_RenderClear(Renderer);
  SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
  SDL_RenderPresent(Renderer);
  return 0;
}

int32_t CloseDirectDraw() {
  if (Texture != nullptr) SDL_DestroyTexture(Texture);
  if (Renderer != nullptr) SDL_DestroyRenderer(Renderer);
  Texture = nullptr;
  Renderer = nullptr;
  BridgeWidth = BridgeHeight = 0;
  return 0;
}
