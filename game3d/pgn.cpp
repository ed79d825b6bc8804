#include "game3d/pgn.h"

#include <cstring>
#include <ctime>
#include <sstream>

#include "engine/game.h"
#include "engine/state.h"
#include "game3d/settings.h"
#include "game3d/textfile.h"
#include "platform3d/platform.h"

std::string GameDate = "????.??.??";
std::string GameTimeControl;
std::string GameSetUp;

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
// lower-case piece letter, which PGN requires in upper case; a mate is marked "#".
std::string PgnMove(const char* entry, bool mates) {
  std::string move(entry, strnlen(entry, GameTextSize));
  const size_t promotion = move.find('=');
  if (promotion != std::string::npos && promotion + 1 < move.size()) {
    const char piece = move[promotion + 1];
    if (piece >= 'a' && piece <= 'z') move[promotion + 1] = static_cast<char>(piece - 'a' + 'A');
  }
  if (mates && !move.empty() && move.back() == '+') move.back() = '#';
  return move;
}

// The number of the first move and whether Black makes it, from the set-up's FEN.
void FirstMove(int* number, bool* blackFirst) {
  std::istringstream fields(GameSetUp);
  std::string board, side, castling, ep, clock;
  int full = 1;
  fields >> board >> side >> castling >> ep >> clock >> full;
  *number = full > 0 ? full : 1;
  *blackFirst = side == "b";
}

}  // namespace

void NoteNewGame() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char date[16];
  GameDate = localtime_r(&now, &local) != nullptr &&
                     std::strftime(date, sizeof date, "%Y.%m.%d", &local) == 10
                 ? date
                 : "????.??.??";
  GameTimeControl = TimeControlLabel;
  GameSetUp.clear();
}

std::string PgnText() {
  const char* result = ResultMarker();
  std::string out;
  AddTag(out, "Event", "Chessgame with Korvane 3D");
  AddTag(out, "Site", "?");
  AddTag(out, "Date", GameDate);
  AddTag(out, "Round", "?");
  AddTag(out, "White", BoardFlipped == 1 ? EngineName : "?");
  AddTag(out, "Black", BoardFlipped == 1 ? "?" : EngineName);
  AddTag(out, "Result", result);
  AddTag(out, "TimeControl", GameTimeControl.empty() ? "?" : GameTimeControl);
  if (!GameSetUp.empty()) {
    AddTag(out, "SetUp", "1");
    AddTag(out, "FEN", GameSetUp);
  }
  out += LineEnd;

  // Half-moves 0 .. HalfMoveCount - 1 are the moves; the entry after them is only the
  // record's own result text. An empty entry would leave a move number without its move.
  const int recorded = HalfMoveCount < GameRecordSize ? HalfMoveCount : GameRecordSize;
  int moves = 0;
  while (moves < recorded && GameRecord[moves][0] != '\0') ++moves;
  int first;
  bool blackFirst;
  FirstMove(&first, &blackFirst);
  for (int k = 0; k < moves; ++k) {
    const int ply = k + (blackFirst ? 1 : 0), number = first + ply / 2;
    if (ply % 2 == 0) out += std::to_string(number) + ". ";
    if (ply % 2 == 1 && k == 0) out += std::to_string(number) + "... ";
    out += PgnMove(GameRecord[k], GameStatus == 3 && k == moves - 1) + " ";
    if (ply % 2 == 1 && number % MovesPerLine == 0) out += LineEnd;
  }
  out += result;
  out += LineEnd;
  return out;
}

bool WritePgnFile(std::string_view baseName) {
  const std::string name = std::string(Limited(baseName)) + ".pgn";
  const int failure = WriteTextFile(name, PgnText());
  if (failure == 0) return true;
  const std::string message = "The game could not be saved to " + name + ":\r" +
                              std::strerror(failure) + ".\rThe game goes on unchanged.";
  WarningBox("SAVE ERROR", message.c_str());
  return false;
}
