#include "game3d/pgnread.h"

#include <cctype>
#include <cstring>

#include "engine/legal.h"
#include "engine/movegen.h"
#include "engine/notation.h"
#include "engine/state.h"

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool Fail(std::string* error, const std::string& message) {
  if (error != nullptr) *error = message;
  return false;
}

// Reads the text of one game, a character at a time.
struct PgnReader {
  std::string_view text;
  size_t at = 0;

  bool AtEnd() const { return at >= text.size(); }
  char Peek() const { return text[at]; }
  void SkipLine() {
    while (!AtEnd() && Peek() != '\n') ++at;
  }
  void SkipBlanks() {
    while (!AtEnd() && IsSpace(Peek()) && Peek() != '\n') ++at;
  }
  // Past the comment that starts here; false when the text ends inside it.
  bool SkipComment() {
    const size_t close = text.find('}', at);
    at = close == std::string_view::npos ? text.size() : close + 1;
    return close != std::string_view::npos;
  }
  // Past the variation that starts here, nested ones and their comments included.
  bool SkipVariation() {
    int depth = 0;
    while (!AtEnd()) {
      const char c = Peek();
      if (c == '{') {
        if (!SkipComment()) return false;
        continue;
      }
      if (c == ';') SkipLine();
      if (c == '(') ++depth;
      if (c == ')' && --depth == 0) {
        ++at;
        return true;
      }
      ++at;
    }
    return false;
  }
  // A tag pair [Name "value"]; 1 read, 0 damaged, -1 the text ends inside it.
  int ReadTag(std::pair<std::string, std::string>* tag) {
    ++at;
    SkipBlanks();
    while (!AtEnd() && (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_'))
      tag->first += text[at++];
    SkipBlanks();
    if (AtEnd()) return -1;
    if (tag->first.empty() || Peek() != '"') return 0;
    for (++at; !AtEnd() && Peek() != '"'; ++at) {
      if (Peek() == '\n') return 0;
      if (Peek() == '\\' && at + 1 < text.size()) ++at;
      tag->second += text[at];
    }
    if (AtEnd()) return -1;
    ++at;
    SkipBlanks();
    if (AtEnd()) return -1;
    if (Peek() != ']') return 0;
    ++at;
    return 1;
  }
  std::string_view Token() {
    const size_t start = at;
    while (!AtEnd() && !IsSpace(Peek()) && !std::strchr("{}()[];$", Peek())) ++at;
    return text.substr(start, at - start);
  }
};

bool IsResult(std::string_view token) {
  return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

bool OnlyOf(std::string_view token, const char* characters) {
  return !token.empty() && token.find_first_not_of(characters) == std::string_view::npos;
}

// Drops a move number ("12.", "12...") in front of the token; true when there was one.
bool DropMoveNumber(std::string_view* token) {
  size_t digits = 0;
  while (digits < token->size() && IsDigit((*token)[digits])) ++digits;
  if (digits == 0) return false;
  if (digits == token->size()) {  // a number whose dots are written apart
    *token = {};
    return true;
  }
  if ((*token)[digits] != '.') return false;
  while (digits < token->size() && (*token)[digits] == '.') ++digits;
  token->remove_prefix(digits);
  return true;
}

constexpr char PieceLetters[] = "KQRBNP";  // by kind: king 0 .. pawn 5

// What a move text says about its move.
struct NamedMove {
  bool castleShort = false, castleLong = false;
  char piece = 0;      // an upper-case letter of PieceLetters, 0 when none is given
  char fromFile = 0;   // 'a'..'h', 0 when not given
  char fromRank = 0;   // '1'..'8', 0 when not given
  std::string to;      // the target square's name
  char promotion = 0;  // 'Q', 'R', 'B' or 'N'; 0 when none is given
};

bool IsFile(char c) {
  return c >= 'a' && c <= 'h';
}
bool IsRank(char c) {
  return c >= '1' && c <= '8';
}

bool ReadMoveText(std::string_view text, NamedMove* move) {
  std::string t(text);
  while (!t.empty() && std::strchr("+#!?", t.back())) t.pop_back();
  if (t.size() > 4 && t.compare(t.size() - 4, 4, "e.p.") == 0) t.resize(t.size() - 4);
  if (t == "O-O" || t == "0-0") return move->castleShort = true;
  if (t == "O-O-O" || t == "0-0-0") return move->castleLong = true;

  const size_t equals = t.find('=');
  if (equals != std::string::npos) {
    if (equals + 2 != t.size()) return false;
    move->promotion = static_cast<char>(std::toupper(static_cast<unsigned char>(t.back())));
    t.resize(equals);
  } else if (t.size() >= 3 && std::strchr("QRBNqrbn", t.back()) &&
             (t[t.size() - 2] == '1' || t[t.size() - 2] == '8')) {
    move->promotion = static_cast<char>(std::toupper(static_cast<unsigned char>(t.back())));
    t.pop_back();
  }
  if (move->promotion != 0 && !std::strchr("QRBN", move->promotion)) return false;
  if (!t.empty() && std::strchr(PieceLetters, t[0])) {
    move->piece = t[0];
    t.erase(0, 1);
  }
  std::string squares;
  for (const char c : t) {
    if (c != 'x' && c != '-' && c != ':') squares += c;
  }
  if (squares.size() < 2 || squares.size() > 4) return false;
  move->to = squares.substr(squares.size() - 2);
  if (!IsFile(move->to[0]) || !IsRank(move->to[1])) return false;
  squares.resize(squares.size() - 2);
  if (!squares.empty() && IsFile(squares[0])) {
    move->fromFile = squares[0];
    squares.erase(0, 1);
  }
  if (!squares.empty() && IsRank(squares[0])) {
    move->fromRank = squares[0];
    squares.erase(0, 1);
  }
  return squares.empty();
}

// Whether the list entry is the move, leaving the promotion piece aside.
bool Names(const NamedMove& move, uint8_t from, uint8_t target) {
  const int kind = GameBoard[from] % 10;
  const std::string fromName = SquareName(from), toName = SquareName(target);
  if (move.castleShort || move.castleLong) {
    return kind == 0 && fromName[0] == 'e' && toName[0] == (move.castleShort ? 'g' : 'c') &&
           fromName[1] == toName[1];
  }
  if (toName != move.to) return false;
  if (move.fromFile != 0 && fromName[0] != move.fromFile) return false;
  if (move.fromRank != 0 && fromName[1] != move.fromRank) return false;
  // Without a letter it is a pawn's move, unless the whole from-square is given (coordinates).
  if (move.piece != 0) return PieceLetters[kind] == move.piece;
  return kind == 5 || (move.fromFile != 0 && move.fromRank != 0);
}

// The side's legal moves at ply 0 from the game position; the last index, -1 when none.
int LegalGameMoves(uint8_t side) {
  std::memcpy(Board, GameBoard, sizeof Board);
  EpFile[0] = GameEpFile;
  CastleRights[0] = GameCastleRights;
  Castled[0] = GameCastled;
  InCheck1[0] = KingAttacked1();
  InCheck2[0] = KingAttacked2();
  const uint8_t last = side == 1 ? GenerateMoves1(0) : GenerateMoves2(0);
  RootLast = last == NoMoves ? -1 : last;
  if (RootLast >= 0) side == 1 ? FilterLegal1() : FilterLegal2();
  LastMove[0] = RootLast >= 0 ? static_cast<uint8_t>(RootLast) : NoMoves;
  return RootLast;
}

}  // namespace

std::string PgnTag(const PgnGame& game, std::string_view name) {
  for (const auto& [tag, value] : game.tags) {
    if (tag == name) return value;
  }
  return "";
}

bool ParsePgn(std::string_view text, PgnGame* game, std::string* error) {
  *game = PgnGame{};
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < ' ' && !IsSpace(c)) || byte == 127) {
      return Fail(error, "it is not a PGN file (it holds binary data)");
    }
  }
  PgnReader in{text};
  bool started = false;  // a tag or a move number has been read
  while (!in.AtEnd()) {
    const char c = in.Peek();
    if (IsSpace(c)) {
      ++in.at;
    } else if (c == ';' || (c == '%' && (in.at == 0 || text[in.at - 1] == '\n'))) {
      in.SkipLine();
    } else if (c == '{') {
      if (!in.SkipComment()) game->cutShort = "it ends inside a comment";
    } else if (c == '(') {
      if (!in.SkipVariation()) game->cutShort = "it ends inside a variation";
    } else if (c == ')') {
      return Fail(error, "its move text is damaged (a ')' closes no variation)");
    } else if (c == '$') {
      for (++in.at; !in.AtEnd() && IsDigit(in.Peek());) ++in.at;
    } else if (c == '[') {
      if (!game->moves.empty()) {
        game->cutShort = "the next game begins before this one's result";
        return true;
      }
      std::pair<std::string, std::string> tag;
      const int read = in.ReadTag(&tag);
      if (read < 0) game->cutShort = "it ends inside a tag";
      if (read == 0) return Fail(error, "it is not a PGN file (a tag is damaged)");
      if (read > 0) game->tags.push_back(tag);
      started = true;
    } else {
      std::string_view token = in.Token();
      if (token.empty()) {  // a character that belongs to no token, such as a stray ']'
        return Fail(error, std::string("its move text is damaged (a stray '") + c + "')");
      }
      if (IsResult(token)) {
        if (!started) break;
        game->result = token;
        return true;
      }
      if (DropMoveNumber(&token)) started = true;
      if (token.empty() || OnlyOf(token, ".!?") || token == "e.p.") continue;
      if (!started) break;
      game->moves.emplace_back(token);
    }
  }
  if (!started) return Fail(error, "it is not a PGN file (no tags and no numbered moves)");
  if (game->cutShort.empty()) game->cutShort = "the game's result is missing";
  return true;
}

int FindNamedMove(std::string_view text, uint8_t side, std::string* error) {
  NamedMove move;
  if (!ReadMoveText(text, &move)) {
    Fail(error, "is not a move");
    return -1;
  }
  const int last = LegalGameMoves(side);
  int found = -1, matches = 0;
  bool promotesToOther = false;
  for (int i = 0; i <= last; ++i) {
    const uint8_t to = MoveTo[0][i];
    if (!Names(move, MoveFrom[0][i], static_cast<uint8_t>(TargetOf(to)))) continue;
    const bool promotes = to >= PromotionFlag;
    if (promotes && move.promotion != 0 && move.promotion != 'Q') {
      promotesToOther = true;
      continue;
    }
    if (!promotes && move.promotion != 0) continue;
    found = i;
    ++matches;
  }
  if (matches == 1) return found;
  if (matches > 1) {
    Fail(error, "fits more than one legal move");
  } else if (promotesToOther) {
    Fail(error, "promotes to another piece than a queen, which this program cannot play");
  } else {
    Fail(error, "is not a legal move");
  }
  return -1;
}
