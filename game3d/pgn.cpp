#include "game3d/pgn.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/game.h"
#include "engine/state.h"
#include "platform3d/platform.h"

namespace {

constexpr size_t MaxArgumentLength = 255;
constexpr const char* LineEnd = "\r\n";
constexpr const char* EngineName = "Korvane 3D v1.0";
constexpr int MovesPerLine = 5;

std::string_view Limited(std::string_view text) {
  return text.substr(0, MaxArgumentLength);
}

// A tag value between its quotes: quotes and backslashes escaped, control characters dropped.
std::string TagValue(std::string_view text) {
  std::string value;
  for (const char ch : Limited(text)) {
    if (static_cast<unsigned char>(ch) < ' ') continue;
    if (ch == '"' || ch == '\\') value += '\\';
    value += ch;
  }
  return value;
}

void AddTag(std::string& out, const char* name, std::string_view value) {
  out += '[';
  out += name;
  out += " \"";
  out += TagValue(value);
  out += "\"]";
  out += LineEnd;
}

// The game's result in PGN's form, from the engine's status: a mate is credited by the mate
// text (which knows who moved last), a draw of any kind is a draw.
const char* ResultMarker() {
  if (GameStatus == 4) return "1/2-1/2";
  if (GameStatus == 3) {
    if (std::strncmp(ResultText, "1-0", 3) == 0) return "1-0";
    if (std::strncmp(ResultText, "0-1", 3) == 0) return "0-1";
  }
  return "*";
}

// A record entry as PGN readers take it: the human's promotions are recorded with a
// lower-case piece letter, which PGN requires in upper case.
std::string PgnMove(const char* entry) {
  std::string move(entry, strnlen(entry, GameTextSize));
  const size_t promotion = move.find('=');
  if (promotion != std::string::npos && promotion + 1 < move.size()) {
    const char piece = move[promotion + 1];
    if (piece >= 'a' && piece <= 'z') move[promotion + 1] = static_cast<char>(piece - 'a' + 'A');
  }
  return move;
}

// errno of a failed call; a failure that set none still counts as one.
int ErrorNumber() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

std::string PgnText(std::string_view timeControl) {
  const char* result = ResultMarker();
  std::string out;
  AddTag(out, "Event", "Chessgame with Korvane 3D");
  AddTag(out, "Date", "????.??.??");
  AddTag(out, "White", BoardFlipped == 1 ? EngineName : "?");
  AddTag(out, "Black", BoardFlipped == 1 ? "?" : EngineName);
  AddTag(out, "Result", result);
  AddTag(out, "Timecontrol", timeControl);
  out += LineEnd;

  // Half-moves 0 .. HalfMoveCount - 1 are the moves; the entry after them is only the
  // record's own result text. An empty entry would leave a move number without its move.
  const int recorded = HalfMoveCount < GameRecordSize ? HalfMoveCount : GameRecordSize;
  int moves = 0;
  while (moves < recorded && GameRecord[moves][0] != '\0') ++moves;
  for (int i = 0; 2 * i < moves; ++i) {
    out += std::to_string(i + 1) + ". " + PgnMove(GameRecord[2 * i]) + " ";
    if (2 * i + 1 < moves) out += PgnMove(GameRecord[2 * i + 1]) + " ";
    if ((i + 1) % MovesPerLine == 0) out += LineEnd;
  }
  out += result;
  out += LineEnd;
  return out;
}

bool WritePgnFile(std::string_view baseName, std::string_view timeControl) {
  const std::string name = std::string(Limited(baseName)) + ".pgn";
  const std::string text = PgnText(timeControl);
  FILE* file = std::fopen(name.c_str(), "wb");
  int error = file == nullptr ? ErrorNumber() : 0;
  if (file != nullptr) {
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) error = ErrorNumber();
    if (std::fclose(file) != 0 && error == 0) error = ErrorNumber();
  }
  if (error == 0) return true;
  const std::string message = "The game could not be saved to " + name + ":\r" +
                              std::strerror(error) + ".\rThe game goes on unchanged.";
  WarningBox("SAVE ERROR", message.c_str());
  return false;
}
