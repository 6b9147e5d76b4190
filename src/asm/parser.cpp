// Reads assembly source into statements: labels, sections, directives, code tokens, and the
// files pulled in by .include. Names are not looked up here; that waits until every file has
// been read, so a label may be used before it is defined.
#include <filesystem>

#include "asm/program.h"
#include "asm/source_lexer.h"
#include "vm/instruction_set.h"

namespace kelvox::assembler {
namespace {

// Deep enough for any sensible layout; stops include cycles that a path comparison misses
// (links, different spellings of one folder).
constexpr int kMaxIncludeDepth = 32;

bool isAllDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

class Parser {
 public:
  Parser(Program& program, const IncludeLoader& loader) : program_(program), loader_(loader) {}

  void parseFile(std::string_view text, const std::string& name) {
    int file = static_cast<int>(program_.files.size());
    program_.files.push_back(name);
    active_.push_back(std::filesystem::path(name).lexically_normal().string());
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // UTF-8 byte order mark
    int line = 1;
    while (true) {
      size_t end = text.find('\n');
      std::string_view current = text.substr(0, end);
      LineTokens lexed = tokenizeLine(current);
      if (lexed.error) program_.error({file, line, lexed.error->column}, lexed.error->message);
      parseLine(lexed.tokens, file, line);
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
      ++line;
    }
    active_.pop_back();
  }

 private:
  void parseLine(const std::vector<Token>& tokens, int file, int line) {
    size_t i = 0;
    while (i < tokens.size()) {
      const Token& token = tokens[i];
      SourcePos pos{file, line, token.column};
      bool word = token.kind == Token::Kind::Word;
      if (word && token.text.size() > 1 && token.text.back() == ':') {
        defineLabel(token.text.substr(0, token.text.size() - 1), pos);
        ++i;
      } else if (word && token.text[0] == '.') {
        i = directive(tokens, i, pos);
      } else if (section_ == Section::Code) {
        codeToken(token, pos);
        ++i;
      } else {
        program_.error(pos, "expected a directive in .data, found " + describe(token));
        return;
      }
    }
  }

  static std::string describe(const Token& token) {
    return token.kind == Token::Kind::String ? "a string" : inQuotes(token.text);
  }

  void add(Statement::Kind kind, const SourcePos& pos, Operand operand = {}) {
    Statement s;
    s.kind = kind;
    s.section = section_;
    s.pos = pos;
    s.operand = std::move(operand);
    program_.statements.push_back(std::move(s));
  }

  void defineLabel(const std::string& name, const SourcePos& pos) {
    if (isAllDigits(name)) {
      NumberValue n = parseNumber(name);
      if (n.status != NumberValue::Status::Ok || n.value > 0x7FFFFFFF)
        program_.error(pos, "index mark " + inQuotes(name) + " is too large");
      else
        add(Statement::Kind::IndexMark, pos, Operand{n.value, {}, pos});
    } else if (isIdentifier(name)) {
      add(Statement::Kind::Label, pos);
      program_.statements.back().name = name;
    } else {
      program_.error(pos, "bad label name " + inQuotes(name));
    }
  }

  void codeToken(const Token& token, const SourcePos& pos) {
    if (token.kind == Token::Kind::String) {
      program_.error(pos, "a string belongs in .data (write it with .string)");
    } else if (token.kind == Token::Kind::Comma) {
      program_.error(pos, "unexpected ','");
    } else if (const auto* info = vm::findInstruction(std::string_view(token.text))) {
      add(Statement::Kind::Operation, pos);
      program_.statements.back().word = info->word;
    } else if (looksLikeNumber(token.text) || isIdentifier(token.text)) {
      if (auto operand = operandFrom(token, pos)) add(Statement::Kind::Literal, pos, *operand);
    } else {
      program_.error(pos, "unexpected " + inQuotes(token.text));
    }
  }

  std::optional<Operand> operandFrom(const Token& token, const SourcePos& pos) {
    if (token.kind == Token::Kind::Word && looksLikeNumber(token.text)) {
      NumberValue n = parseNumber(token.text);
      if (n.status == NumberValue::Status::Ok) return Operand{n.value, {}, pos};
      program_.error(pos, n.status == NumberValue::Status::Bad ? "bad number " + inQuotes(token.text)
                                                               : "number " + inQuotes(token.text) + " does not fit in 32 bits");
      return std::nullopt;
    }
    if (token.kind == Token::Kind::Word && isIdentifier(token.text)) return Operand{0, token.text, pos};
    program_.error(pos, "expected a number or a name, found " + describe(token));
    return std::nullopt;
  }

  // The arguments of a directive at tokens[at]: items separated by single commas. Reports a
  // malformed list and returns nullopt.
  std::optional<std::vector<Token>> arguments(const std::vector<Token>& tokens, size_t at, const SourcePos& pos) {
    std::vector<Token> items;
    bool wantItem = true;
    for (size_t i = at + 1; i < tokens.size(); ++i) {
      const Token& t = tokens[i];
      SourcePos here{pos.file, pos.line, t.column};
      bool comma = t.kind == Token::Kind::Comma;
      if (wantItem == comma) {
        program_.error(here, wantItem ? "expected a value before ','" : "expected ',' before " + describe(t));
        return std::nullopt;
      }
      if (!comma) items.push_back(t);
      wantItem = comma;
    }
    if (wantItem) {
      program_.error(pos, inQuotes(tokens[at].text) + (items.empty() ? " needs a value" : " ends with ','"));
      return std::nullopt;
    }
    return items;
  }

  // Handles the directive at tokens[at]; returns the index of the next token to read.
  size_t directive(const std::vector<Token>& tokens, size_t at, const SourcePos& pos) {
    const std::string& name = tokens[at].text;
    if (name == ".code" || name == ".data") {
      section_ = name == ".code" ? Section::Code : Section::Data;
      return at + 1;  // a section switch may share its line with what follows
    }
    if (name == ".equ") {
      equ(tokens, at, pos);
    } else if (name == ".include") {
      include(tokens, at, pos);
    } else if (name == ".word") {
      if (auto items = arguments(tokens, at, pos))
        for (const Token& t : *items) {
          SourcePos here{pos.file, pos.line, t.column};
          if (auto operand = operandFrom(t, here))
            add(section_ == Section::Code ? Statement::Kind::CodeWord : Statement::Kind::DataWord, here, *operand);
        }
    } else if (name == ".string" || name == ".space") {
      if (section_ != Section::Data) {
        program_.error(pos, inQuotes(name) + " belongs in .data");
      } else if (auto items = arguments(tokens, at, pos)) {
        if (items->size() > 1)
          program_.error({pos.file, pos.line, (*items)[1].column}, inQuotes(name) + " takes one value");
        else if (name == ".space")
          spaceDirective(items->front(), pos);
        else
          stringDirective(items->front(), pos);
      }
    } else {
      program_.error(pos, "unknown directive " + inQuotes(name));
    }
    return tokens.size();
  }

  void stringDirective(const Token& t, const SourcePos& pos) {
    if (t.kind != Token::Kind::String) {
      program_.error({pos.file, pos.line, t.column}, "'.string' needs a quoted string");
      return;
    }
    DecodedString decoded = decodeString(t.text, t.column);
    for (const LexError& e : decoded.errors) program_.error({pos.file, pos.line, e.column}, e.message);
    add(Statement::Kind::DataBytes, pos);
    program_.statements.back().bytes = decoded.bytes + '\0';
  }

  void spaceDirective(const Token& t, const SourcePos& pos) {
    SourcePos here{pos.file, pos.line, t.column};
    if (auto operand = operandFrom(t, here)) add(Statement::Kind::DataSpace, pos, *operand);
  }

  // .equ NAME VALUE, with an optional comma between.
  void equ(const std::vector<Token>& tokens, size_t at, const SourcePos& pos) {
    std::vector<const Token*> rest;
    for (size_t i = at + 1; i < tokens.size(); ++i)
      if (!(i == at + 2 && tokens[i].kind == Token::Kind::Comma)) rest.push_back(&tokens[i]);
    if (rest.size() != 2 || rest[0]->kind != Token::Kind::Word || !isIdentifier(rest[0]->text)) {
      program_.error(pos, "'.equ' needs a name and a value");
      return;
    }
    SourcePos valuePos{pos.file, pos.line, rest[1]->column};
    if (auto operand = operandFrom(*rest[1], valuePos)) {
      add(Statement::Kind::Constant, {pos.file, pos.line, rest[0]->column}, *operand);
      program_.statements.back().name = rest[0]->text;
    }
  }

  void include(const std::vector<Token>& tokens, size_t at, const SourcePos& pos) {
    if (tokens.size() != at + 2 || tokens[at + 1].kind != Token::Kind::String) {
      program_.error(pos, "'.include' needs one quoted file name");
      return;
    }
    // The name is a host path: only \" and \\ are escapes; no Shift-JIS conversion.
    std::string file;
    const std::string& raw = tokens[at + 1].text;
    for (size_t i = 0; i < raw.size(); ++i) file += raw[i] == '\\' && i + 1 < raw.size() ? raw[++i] : raw[i];
    namespace fs = std::filesystem;
    std::string path = (fs::path(program_.files[pos.file]).parent_path() / file).lexically_normal().string();
    for (const std::string& open : active_)
      if (open == path) {
        program_.error(pos, inQuotes(path) + " includes itself");
        return;
      }
    if (static_cast<int>(active_.size()) >= kMaxIncludeDepth) {
      program_.error(pos, "includes nested too deeply at " + inQuotes(path));
      return;
    }
    std::optional<std::string> text = loader_ ? loader_(path) : std::nullopt;
    if (!text) {
      program_.error(pos, "cannot read include file " + inQuotes(path));
      return;
    }
    parseFile(*text, path);
  }

  Program& program_;
  const IncludeLoader& loader_;
  Section section_ = Section::Code;
  std::vector<std::string> active_;  // files being read, outermost first
};

}  // namespace

Program parseProgram(std::string_view source, const std::string& fileName, const IncludeLoader& loader) {
  Program program;
  Parser(program, loader).parseFile(source, fileName);
  return program;
}

}  // namespace kelvox::assembler
