// The assembler proper: gives every label and constant its value and emits the code words and
// data bytes of a parsed program. Placement runs twice over the statements: the first run fixes
// the labels, the second emits with their final values and reports what is wrong. Both runs
// give every statement the same size, because a name's size depends only on what kind of name
// it is (a label is always one literal word), never on a label's value.
#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "asm/program.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "vm/instruction_set.h"

namespace kelvox::assembler {
namespace {

// One .space may not exceed this (bytes): a typo of a few digits should not eat the memory.
constexpr int64_t kMaxSpaceBytes = 16 * 1024 * 1024;

constexpr uint32_t kNot = static_cast<uint32_t>(vm::Op::Not);
constexpr uint32_t kNeg = static_cast<uint32_t>(vm::Op::Neg);

std::string where(const Program& program, const SourcePos& pos) {
  return program.files[pos.file] + ":" + std::to_string(pos.line) + ":" + std::to_string(pos.column);
}

// Appends the words that leave [value] on paramStack. One literal word covers 0..0x7FFFFFFF;
// a negative value is its magnitude followed by Neg; anything else with bit 31 set (and
// -0x80000000, whose magnitude has bit 31 set) is its complement followed by Not.
void appendLiteral(std::vector<uint32_t>& code, int64_t value) {
  if (value >= 0 && value <= 0x7FFFFFFF) {
    code.push_back(static_cast<uint32_t>(value));
  } else if (value < 0 && value > -0x80000000ll) {
    code.push_back(static_cast<uint32_t>(-value));
    code.push_back(kNeg);
  } else {
    code.push_back(~static_cast<uint32_t>(value));
    code.push_back(kNot);
  }
}

// The mnemonic that [text] spells in another case, if any.
const vm::InstructionInfo* sameLetters(std::string_view text) {
  std::string wanted = platform::asciiToLower(text);
  for (const auto& info : vm::kInstructions)
    if (platform::asciiToLower(info.mnemonic) == wanted) return &info;
  return nullptr;
}

struct Name {
  enum class Kind { CodeLabel, DataLabel, Constant };
  enum class State { Unresolved, Resolving, Number, Label, Broken };  // of a constant
  Kind kind = Kind::CodeLabel;
  SourcePos pos;
  uint32_t value = 0;                   // a label's position
  const Operand* definition = nullptr;  // a constant's value as written
  State state = State::Unresolved;
  int64_t number = 0;                   // State::Number
  std::string label;                    // State::Label: the label the constant stands for
};

struct Value {
  int64_t number = 0;
  bool ok = false;       // false after an error; number is then 0
  bool isLabel = false;  // the value is a label's position
};

class Assembler {
 public:
  explicit Assembler(Program& program) : program_(program) {}

  Result run() {
    collectNames();
    place(false);
    place(true);
    Result result;
    result.errors = sortedErrors();
    if (!result.errors.empty()) return result;
    Script script;
    script.code = std::move(code_);
    script.data = std::move(data_);
    // The file holds whole words, and the engine refuses an empty data file.
    script.data.resize(std::max<size_t>(4, (script.data.size() + 3) & ~size_t{3}), 0);
    for (const auto& [name, info] : names_)
      if (info.kind != Name::Kind::Constant) script.labels[name] = info.value;
    result.script = std::move(script);
    return result;
  }

 private:
  void collectNames() {
    for (const Statement& s : program_.statements) {
      if (s.kind != Statement::Kind::Label && s.kind != Statement::Kind::Constant) continue;
      bool label = s.kind == Statement::Kind::Label;
      if (vm::findInstruction(std::string_view(s.name))) {
        program_.error(s.pos, inQuotes(s.name) + " is an instruction and cannot name a " + (label ? "label" : "constant"));
        continue;
      }
      auto [it, added] = names_.try_emplace(s.name);
      if (!added) {
        program_.error(s.pos, "duplicate name " + inQuotes(s.name) + " (first defined at " + where(program_, it->second.pos) + ")");
        continue;
      }
      Name& name = it->second;
      name.pos = s.pos;
      if (label) {
        name.kind = s.section == Section::Code ? Name::Kind::CodeLabel : Name::Kind::DataLabel;
      } else {
        name.kind = Name::Kind::Constant;
        name.definition = &s.operand;
      }
    }
    for (auto& [text, name] : names_)
      if (name.kind == Name::Kind::Constant) resolveConstant(text, name);
  }

  // Follows a constant's definition to a number or a label, reporting undefined names and cycles.
  void resolveConstant(const std::string& text, Name& name) {
    if (name.state == Name::State::Resolving) {
      program_.error(name.pos, inQuotes(text) + " is defined in terms of itself");
      name.state = Name::State::Broken;
      return;
    }
    if (name.state != Name::State::Unresolved) return;
    const Operand& op = *name.definition;
    if (op.symbol.empty()) {
      name.state = Name::State::Number;
      name.number = op.number;
      return;
    }
    if (const auto* info = vm::findInstruction(std::string_view(op.symbol))) {
      name.state = Name::State::Number;
      name.number = info->word;
      return;
    }
    auto it = names_.find(op.symbol);
    if (it == names_.end()) {
      program_.error(op.pos, "undefined label " + inQuotes(op.symbol));
      name.state = Name::State::Broken;
      return;
    }
    Name& target = it->second;
    if (target.kind != Name::Kind::Constant) {
      name.state = Name::State::Label;
      name.label = op.symbol;
      return;
    }
    name.state = Name::State::Resolving;
    resolveConstant(op.symbol, target);
    if (name.state == Name::State::Broken) return;  // the cycle came back to this constant
    name.state = target.state;
    name.number = target.number;
    name.label = target.label;
  }

  // The value of [op]. An undefined name is reported when [report]; in code ([asLiteral]) a
  // capitalised unknown word is more likely a mistyped instruction than a missing label.
  Value valueOf(const Operand& op, bool report, bool asLiteral) {
    if (op.symbol.empty()) return {op.number, true, false};
    if (const auto* info = vm::findInstruction(std::string_view(op.symbol))) return {info->word, true, false};
    auto it = names_.find(op.symbol);
    if (it == names_.end()) {
      if (report) {
        const vm::InstructionInfo* near = sameLetters(op.symbol);
        char first = op.symbol[0];
        if (near)
          program_.error(op.pos, "unknown instruction " + inQuotes(op.symbol) + " (did you mean " + inQuotes(near->mnemonic) + "?)");
        else if (asLiteral && first >= 'A' && first <= 'Z')
          program_.error(op.pos, "unknown instruction " + inQuotes(op.symbol));
        else
          program_.error(op.pos, "undefined label " + inQuotes(op.symbol));
      }
      return {};
    }
    const Name& name = it->second;
    if (name.kind != Name::Kind::Constant) return {name.value, true, true};
    if (name.state == Name::State::Number) return {name.number, true, false};
    if (name.state == Name::State::Label) return {names_.at(name.label).value, true, true};
    return {};  // broken: already reported at its definition
  }

  void alignData() { data_.resize((data_.size() + 3) & ~size_t{3}, 0); }

  uint32_t position(Section section) const {
    return static_cast<uint32_t>(section == Section::Code ? code_.size() : data_.size() / 4);
  }

  // Lays out every statement; the [final] run also reports errors of values and positions.
  void place(bool final) {
    code_.clear();
    data_.clear();
    for (const Statement& s : program_.statements) {
      switch (s.kind) {
        case Statement::Kind::Label: {
          if (s.section == Section::Data) alignData();
          auto it = names_.find(s.name);
          // Only the definition that won the name places it (duplicates were reported).
          if (it != names_.end() && it->second.pos.file == s.pos.file && it->second.pos.line == s.pos.line &&
              it->second.pos.column == s.pos.column)
            it->second.value = position(s.section);
          break;
        }
        case Statement::Kind::IndexMark:
          if (s.section == Section::Data) alignData();
          if (final && s.operand.number != position(s.section))
            program_.error(s.pos, "index mark " + std::to_string(s.operand.number) + " does not match the position " +
                                      std::to_string(position(s.section)));
          break;
        case Statement::Kind::Constant:
          break;
        case Statement::Kind::Literal:
          appendLiteral(code_, valueOf(s.operand, final, true).number);
          break;
        case Statement::Kind::Operation:
          code_.push_back(s.word);
          break;
        case Statement::Kind::CodeWord:
          code_.push_back(static_cast<uint32_t>(valueOf(s.operand, final, false).number));
          break;
        case Statement::Kind::DataWord: {
          uint32_t word = static_cast<uint32_t>(valueOf(s.operand, final, false).number);
          for (int shift = 0; shift < 32; shift += 8) data_.push_back(static_cast<uint8_t>(word >> shift));
          break;
        }
        case Statement::Kind::DataBytes:
          data_.insert(data_.end(), s.bytes.begin(), s.bytes.end());
          break;
        case Statement::Kind::DataSpace:
          data_.resize(data_.size() + spaceSize(s, final), 0);
          break;
      }
    }
  }

  // The byte count of a .space; a label cannot be one, since labels move with the sizes.
  size_t spaceSize(const Statement& s, bool final) {
    Value v = valueOf(s.operand, final, false);
    const char* problem = nullptr;
    if (v.ok && v.isLabel) problem = "'.space' needs a number, not a label";
    else if (v.ok && v.number < 0) problem = "'.space' needs a size of 0 bytes or more";
    else if (v.ok && v.number > kMaxSpaceBytes) problem = "'.space' is larger than 16 MiB";
    if (problem) {
      if (final) program_.error(s.operand.pos, problem);
      return 0;
    }
    return static_cast<size_t>(v.number);
  }

  // Errors in source order: by file (in the order first read), line and column.
  std::vector<Diagnostic> sortedErrors() const {
    std::vector<Diagnostic> errors = program_.errors;
    auto fileIndex = [&](const std::string& file) {
      return std::find(program_.files.begin(), program_.files.end(), file) - program_.files.begin();
    };
    std::stable_sort(errors.begin(), errors.end(), [&](const Diagnostic& a, const Diagnostic& b) {
      auto fa = fileIndex(a.file), fb = fileIndex(b.file);
      if (fa != fb) return fa < fb;
      return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    return errors;
  }

  Program& program_;
  std::map<std::string, Name> names_;
  std::vector<uint32_t> code_;
  std::vector<uint8_t> data_;
};

}  // namespace

std::string Diagnostic::toString() const {
  return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": error: " + message;
}

std::optional<std::string> readSourceFile(const std::string& path) {
  auto bytes = platform::readRegularFile(path, kMaxSourceFileBytes, nullptr);
  if (!bytes) return std::nullopt;
  return std::string(bytes->begin(), bytes->end());
}

Result assemble(std::string_view source, std::string fileName, IncludeLoader loader) {
  Program program = parseProgram(source, fileName, loader);
  return Assembler(program).run();
}

Result assembleFile(const std::string& path, IncludeLoader loader) {
  std::optional<std::string> text = loader ? loader(path) : std::nullopt;
  if (!text) {
    Result result;
    result.errors.push_back({path, 0, 0, "cannot read the file"});
    return result;
  }
  return assemble(*text, path, loader);
}

Script assembleOrThrow(std::string_view source, std::string fileName, IncludeLoader loader) {
  Result result = assemble(source, std::move(fileName), std::move(loader));
  if (result.script) return std::move(*result.script);
  std::string message;
  for (const Diagnostic& d : result.errors) message += d.toString() + "\n";
  throw std::runtime_error(message);
}

}  // namespace kelvox::assembler
