#include "game3d/keep.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/game.h"
#include "engine/state.h"
#include "engine/timectl.h"
#include "game3d/gamefile.h"
#include "game3d/pgn.h"
#include "game3d/scene.h"
#include "game3d/settings.h"
#include "game3d/textfile.h"

namespace {

constexpr size_t MaxSettingsBytes = 1 << 16;

// One line of the settings file: the key and the names of the values 0, 1, 2.
struct SettingKey {
  const char* key;
  uint8_t* value;
  const char* names[3];
};
const SettingKey SettingKeys[] = {
    {"colour", &PlayerSide, {"white", "black", nullptr}},
    {"strength", &SearchStrength, {"normal", "medium", "beginner"}},
    {"surroundings", &Surroundings, {"none", "room", "dots"}},
    {"board", &BoardColour, {"stone", "wood", nullptr}},
    {"white-pieces", &WhitePieceStyle, {"wood", "white", nullptr}},
    {"thinking-panel", &ShowThinking, {"off", "on", nullptr}},
    {"move-list", &ShowMoveList, {"off", "on", nullptr}},
};
constexpr char TimeControlKey[] = "time-control";

bool KeepingSettings = false;  // the file was read at start-up: changes are written to it
std::string KeptSettings;      // the text the file holds (or would, had it been written)

// $variable when it names an absolute folder, else $HOME/fallback; empty when neither does.
std::string Folder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/" + fallback;
  return "";
}

std::string SettingsText() {
  std::string text = "# korvane3d settings, rewritten whenever one changes in the menus\n";
  for (const SettingKey& s : SettingKeys) {
    const char* name = *s.value < 3 ? s.names[*s.value] : nullptr;
    text += std::string(s.key) + " = " + (name != nullptr ? name : s.names[0]) + "\n";
  }
  return text + TimeControlKey + " = " + TimeControlLabel + "\n";
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// One "key = value" line into the settings; false with *error when it is not one.
bool ReadSettingLine(const std::string& line, std::string* error) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return *error = "no '='", false;
  const std::string key = Trimmed(line.substr(0, equals)), value = Trimmed(line.substr(equals + 1));
  if (key == TimeControlKey) {
    for (const TimeControl& entry : TimeControlTable) {
      if (value != entry.label) continue;
      MoveTimeSetting = entry.secondsPerMove;
      TimeControlLabel = entry.label;
      return true;
    }
  }
  for (const SettingKey& s : SettingKeys) {
    if (key != s.key) continue;
    for (uint8_t v = 0; v < 3; ++v) {
      if (s.names[v] == nullptr || value != s.names[v]) continue;
      *s.value = v;
      return true;
    }
  }
  *error = "'" + line + "' is not a setting";
  return false;
}

}  // namespace

std::string SettingsFilePath() {
  const std::string folder = Folder("XDG_CONFIG_HOME", ".config");
  return folder.empty() ? "" : folder + "/korvane/korvane3d.conf";
}

std::string LastGameFilePath() {
  const std::string folder = Folder("XDG_STATE_HOME", ".local/state");
  return folder.empty() ? "" : folder + "/korvane/last-game.pgn";
}

void ReadSettingsFile() {
  KeptSettings = SettingsText();
  const std::string path = SettingsFilePath();
  KeepingSettings = !path.empty();
  if (path.empty()) {
    std::fputs("korvane3d: HOME is not set, so the settings are not kept\n", stderr);
    return;
  }
  std::string text;
  if (const int failure = ReadTextFile(path, MaxSettingsBytes, &text)) {
    if (failure == ENOENT) {
      std::fprintf(stderr, "korvane3d: no settings kept yet in %s; the defaults are used\n",
                   path.c_str());
    } else {
      std::fprintf(stderr, "korvane3d: %s cannot be read (%s); the defaults are used\n",
                   path.c_str(), std::strerror(failure));
    }
    return;
  }
  // All or nothing: a damaged file gives the defaults, not half of its values.
  size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    std::string error;
    if (line.empty() || line[0] == '#' || ReadSettingLine(line, &error)) continue;
    std::fprintf(stderr, "korvane3d: %s line %d is damaged (%s); the defaults are used\n",
                 path.c_str(), number, error.c_str());
    SetStartSettings();
    return;
  }
  KeptSettings = SettingsText();
  if (Surroundings != BuiltSurroundings) BuildSurroundings();  // already in the first picture
}

void WriteSettingsIfChanged() {
  if (!KeepingSettings) return;
  const std::string text = SettingsText();
  if (text == KeptSettings) return;
  KeptSettings = text;  // a failure is told once, not at every frame
  const std::string path = SettingsFilePath();
  if (const int failure = ReplaceTextFile(path, text)) {
    std::fprintf(stderr, "korvane3d: the settings cannot be kept in %s (%s); the game goes on\n",
                 path.c_str(), std::strerror(failure));
  }
}

void BringBackGames() {
  const std::string path = LastGameFilePath();
  std::string error;
  if (!path.empty() && access(path.c_str(), F_OK) == 0 && !LoadGame(path, true, &error) &&
      !error.empty()) {
    std::fprintf(stderr, "korvane3d: the last game in %s is not brought back: %s\n", path.c_str(),
                 error.c_str());
  }
  if (!StartupGameFile.empty()) LoadGameFile(StartupGameFile);
  ShowGameOnBoard();
}

void KeepLastGame() {
  const std::string path = LastGameFilePath();
  const bool unfinished = TurnState != 2 && (HalfMoveCount > 0 || !GameSetUp.empty());
  if (path.empty()) {
    if (unfinished) std::fputs("korvane3d: HOME is not set, so the game is not kept\n", stderr);
    return;
  }
  if (!unfinished) {
    std::remove(path.c_str());
    return;
  }
  if (const int failure = ReplaceTextFile(path, PgnText())) {
    std::fprintf(stderr, "korvane3d: the game cannot be kept in %s (%s)\n", path.c_str(),
                 std::strerror(failure));
  }
}
