// make_form DEFINITION OUT_BLOCK OUT_UNITS [name=file ...]
//
// Lays out the program's form description block from its readable
// definition (src/assets/form.txt describes the format). The property blobs
// are made by the same serialisers that the window and Button types use, the
// records and the block by the form description writer. Each name=file
// setting gives the file behind a "@name" byte value (the pictures).
// OUT_UNITS is a header that tells the program's sources what the definition
// says of each unit (form/description/defined_units.h).
//
// The program's routine table is checked first, and the definition as it is
// read: a name or an offset that two routines share, an offset outside the
// code image, a routine that no unit binds, a unit id or name given twice and
// an id that names no unit all end the tool, naming them.
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/program_routines.h"
#include "form/description/button_properties.h"
#include "form/description/event_index.h"
#include "form/description/form_description_writer.h"
#include "form/description/window_properties.h"
#include "tool_support.h"

namespace {

using Setter = std::function<void(const std::string& value)>;

// The fields of one part of the definition (a window, a unit, a blob): each
// must be given exactly once, the repeatable ones any number of times.
class FieldTable {
 public:
  FieldTable() = default;
  FieldTable(std::string part, std::map<std::string, Setter> once, std::map<std::string, Setter> repeatable = {})
      : part_(std::move(part)), once_(std::move(once)), repeatable_(std::move(repeatable)) {}

  bool Has(const std::string& name) const { return once_.count(name) != 0 || repeatable_.count(name) != 0; }

  // False when a field that comes once is given again.
  bool Set(const std::string& name, const std::string& value) {
    if (auto it = repeatable_.find(name); it != repeatable_.end()) {
      it->second(value);
      return true;
    }
    if (!given_.insert(name).second) return false;
    once_.at(name)(value);
    return true;
  }

  void CheckComplete() const {
    for (const auto& [name, setter] : once_)
      if (given_.count(name) == 0) Die(part_ + " lacks " + name);
  }

 private:
  std::string part_;
  std::map<std::string, Setter> once_;
  std::map<std::string, Setter> repeatable_;
  std::set<std::string> given_;
};

// The line's words; a quoted text is one word, kept with its quotes and
// unescaped (\\, \", \r, \n); "#" outside quotes starts a comment.
std::vector<std::string> SplitLine(const std::string& line, int number) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == '#') {
      break;
    } else if (c == '"') {
      // Built piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on
      // "\"" + text + "\"".
      std::string word = "\"";
      word += ReadQuoted(line, i, number);
      word += '"';
      words.push_back(std::move(word));
    } else {
      std::size_t end = line.find_first_of(" \t\r#", i);
      if (end == std::string::npos) end = line.size();
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

std::string Hex(std::uint32_t id) {
  char text[11];
  std::snprintf(text, sizeof text, "0x%08X", id);
  return text;
}

class Definition {
 public:
  explicit Definition(std::map<std::string, std::string> files) : files_(std::move(files)) {}

  void Read(const std::string& path) {
    std::ifstream in(path);
    if (!in) Die("cannot read " + path);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      std::vector<std::string> words = SplitLine(line, number);
      if (words.empty()) continue;
      line_ = number;
      // Every field has one value but a binding, which has two, as has a
      // "properties" line.
      std::size_t values = words.front() == "bind" || words.front() == "properties" ? 2 : 1;
      if (words.size() != values + 1) Fail(words.front() + " takes " + std::to_string(values) + " value(s)");
      std::string value = words[1];
      if (values == 2) value += " " + words[2];
      Take(words.front(), value);
    }
    line_ = 0;
    FinishUnit();
    FinishWindow();
  }

  const std::vector<WindowDescription>& windows() const { return windows_; }

  // Each unit as the definition gives it, in the order of the block.
  struct Unit {
    UnitId window = 0;
    UnitId id = 0;
    std::string name;  // as spelled, in UTF-8
    UnitRecordFields fields;
    std::vector<std::string> routines;  // of fields.bindings, by name
  };
  const std::vector<Unit>& units() const { return units_; }

 private:
  enum class Part { None, Window, Unit, WindowBlob, ButtonBlob };

  [[noreturn]] void Fail(const std::string& message) const { Die("line " + std::to_string(line_) + ": " + message); }

  void Take(const std::string& name, const std::string& value) {
    if (name == "window") {
      FinishUnit();
      FinishWindow();
      StartWindow(ParseNumber(value));
    } else if (name == "unit") {
      if (part_ == Part::None) Fail("unit outside a window");
      FinishUnit();
      StartUnit(ParseNumber(value));
    } else if (name == "properties") {
      if (part_ != Part::Unit) Fail("properties outside a unit");
      StartBlob(value);
    } else {
      FieldTable& fields = part_ == Part::Window ? windowFields_ : part_ == Part::Unit ? unitFields_ : blobFields_;
      if (part_ == Part::None || !fields.Has(name)) Fail("unexpected " + name);
      if (!fields.Set(name, value)) Fail(name + " given twice");
    }
  }

  void StartWindow(UnitId id) {
    if (!IsWellFormedWindowId(id)) Fail(Hex(id) + " names no window: its bits 0-23 and 24-27 must not be 0");
    for (const WindowDescription& other : windows_)
      if (other.window == id) Fail("window " + Hex(id) + " is given twice");
    windows_.push_back(WindowDescription{});
    WindowDescription& w = windows_.back();
    w.window = id;
    windowFields_ = FieldTable("window " + Hex(id), {
        {"tableValue", Number(w.tableValue)},
        {"firstKeptValue", Number(w.firstKeptValue)},
        {"secondKeptValue", Number(w.secondKeptValue)},
        {"firstKeptText", Text(w.firstKeptText)},
        {"secondKeptText", Text(w.secondKeptText)},
    });
    part_ = Part::Window;
  }

  void FinishWindow() {
    if (!windows_.empty()) windowFields_.CheckComplete();
  }

  void StartUnit(UnitId id) {
    const std::vector<UnitDescription>& units = windows_.back().units;
    if (units.empty() && !IsWindowUnitId(id))
      Fail("a window's first unit is the window unit, whose id has 0 in bits 28-31, not " + Hex(id));
    if (!units.empty() && (id == 0 || IsWindowUnitId(id) || IsMenuItem(id)))
      Fail("unit " + Hex(id) + " reads as a window unit or a menu item: units take ids like 0x1601xxxx");
    for (const UnitDescription& other : units)
      if (other.id == id) Fail("unit " + Hex(id) + " is given twice");
    unitId_ = id;
    unit_ = UnitRecordFields{};
    spelledName_.clear();
    routines_.clear();
    UnitRecordFields& u = unit_;
    unitFields_ = FieldTable("unit " + Hex(id), {
        {"type", Number(u.type)},
        {"name", [this, &u](const std::string& v) {
           u.name = ParseText(v);
           spelledName_ = v.substr(1, v.size() - 2);
           for (const Unit& other : units_)
             if (!spelledName_.empty() && other.name == spelledName_) Fail("two units are named " + spelledName_);
         }},
        {"comment", Text(u.comment)},
        {"eventSourceUnit", Number(u.eventSourceUnit)},
        {"left", Number(u.left)},
        {"top", Number(u.top)},
        {"width", Number(u.width)},
        {"height", Number(u.height)},
        {"parent", Number(u.parent)},
        {"cursorSpec", Bytes(u.cursorSpec)},
        {"tag", Text(u.tag)},
        {"flags", Number(u.flags)},
        {"tabOrder", Number(u.tabOrder)},
    }, {
        {"child", [this, &u](const std::string& v) { u.children.push_back(ParseNumber(v)); }},
        {"bind", [this, &u](const std::string& v) {
           std::size_t space = v.find(' ');
           routines_.push_back(v.substr(space + 1));
           u.bindings.push_back({ParseEvent(v.substr(0, space)), ParseRoutine(routines_.back())});
         }},
    });
    part_ = Part::Unit;
  }

  void StartBlob(const std::string& value) {
    std::size_t space = value.find(' ');
    std::string kind = value.substr(0, space);
    std::string version = value.substr(space + 1);
    if (kind == "window") {
      if (ParseNumber(version) != kWindowPropertiesVersion) Fail("window properties are written as version 6");
      windowProperties_ = WindowProperties{};
      blobFields_ = BlobFields("window properties of unit " + Hex(unitId_), kWindowPropertyFields, windowProperties_);
      part_ = Part::WindowBlob;
    } else if (kind == "button") {
      if (ParseNumber(version) != kButtonPropertiesVersion) Fail("button properties are written as version 1");
      buttonProperties_ = ButtonProperties{};
      blobFields_ = BlobFields("button properties of unit " + Hex(unitId_), kButtonPropertyFields, buttonProperties_);
      part_ = Part::ButtonBlob;
    } else {
      Fail("unknown properties " + kind);
    }
  }

  void FinishUnit() {
    if (part_ != Part::Unit && part_ != Part::WindowBlob && part_ != Part::ButtonBlob) return;
    unitFields_.CheckComplete();
    if (part_ == Part::WindowBlob) {
      blobFields_.CheckComplete();
      unit_.propertyBlob = SerialiseWindowProperties(windowProperties_);
    } else if (part_ == Part::ButtonBlob) {
      blobFields_.CheckComplete();
      unit_.propertyBlob = SerialiseButtonProperties(buttonProperties_);
    }
    windows_.back().units.push_back({unitId_, EncodeUnitRecord(unit_)});
    units_.push_back({windows_.back().window, unitId_, spelledName_, unit_, routines_});
    part_ = Part::Window;
  }

  // A blob's fields, one setter each by the kind of its member.
  template <typename Properties, std::size_t N>
  FieldTable BlobFields(std::string part, const std::array<PropertyField<Properties>, N>& fields,
                        Properties& properties) {
    std::map<std::string, Setter> setters;
    for (const PropertyField<Properties>& field : fields)
      setters[field.name] = std::visit([&](auto member) { return SetterFor(properties.*member); }, field.member);
    return FieldTable(std::move(part), std::move(setters));
  }

  Setter SetterFor(std::uint32_t& target) { return Number(target); }
  Setter SetterFor(std::int32_t& target) { return Number(target); }
  Setter SetterFor(bool& target) { return Logical(target); }
  Setter SetterFor(std::string& target) { return Text(target); }
  Setter SetterFor(std::vector<std::uint8_t>& target) { return Bytes(target); }

  template <typename T>
  Setter Number(T& target) {
    return [this, &target](const std::string& v) { target = static_cast<T>(ParseNumber(v)); };
  }

  Setter Logical(bool& target) {
    return [this, &target](const std::string& v) {
      std::uint32_t n = ParseNumber(v);
      if (n > 1) Fail("a logical is 0 or 1");
      target = n == 1;
    };
  }

  Setter Text(std::string& target) {
    return [this, &target](const std::string& v) { target = ParseText(v); };
  }

  Setter Bytes(std::vector<std::uint8_t>& target) {
    return [this, &target](const std::string& v) { target = ParseBytes(v); };
  }

  // A 32-bit value, signed or unsigned, in decimal or 0x hexadecimal.
  std::uint32_t ParseNumber(const std::string& word) const {
    std::size_t used = 0;
    long long value = 0;
    try {
      value = std::stoll(word, &used, 0);
    } catch (const std::exception&) {
      Fail("not a number: " + word);
    }
    if (used != word.size() || value < -0x80000000LL || value > 0xFFFFFFFFLL) Fail("not a 32-bit number: " + word);
    return static_cast<std::uint32_t>(value);
  }

  std::int32_t ParseEvent(const std::string& word) const {
    for (const EventName& event : kEventNames)
      if (event.name == word) return event.index;
    Fail("no event named " + word);
  }

  // The routine's offset from the program's code start; "none" is no handler.
  std::uint32_t ParseRoutine(const std::string& word) const {
    if (word == "none") return kNoHandlerOffset;
    for (const RoutineName& routine : kProgramRoutineNames)
      if (routine.name == word) return routine.offset;
    Fail("the program has no routine named " + word);
  }

  std::string ParseText(const std::string& word) const {
    if (word.size() < 2 || word.front() != '"' || word.back() != '"') Fail("text must be quoted: " + word);
    return ToCodePage936(word.substr(1, word.size() - 2));
  }

  std::vector<std::uint8_t> ParseBytes(const std::string& word) const {
    if (word == "empty") return {};
    std::string bytes;
    if (word.starts_with("@")) {
      auto it = files_.find(word.substr(1));
      if (it == files_.end()) Fail("no file given for " + word);
      bytes = ReadBinaryFile(it->second);
      // A byte buffer's length is a signed dword.
      if (bytes.size() > 0x7FFFFFFF) Fail(it->second + " is too large");
    } else {
      if (word.size() % 2 != 0 || word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Fail("bytes are pairs of hexadecimal digits: " + word);
      for (std::size_t i = 0; i < word.size(); i += 2)
        bytes += static_cast<char>(std::stoi(word.substr(i, 2), nullptr, 16));
    }
    return {bytes.begin(), bytes.end()};
  }

  std::map<std::string, std::string> files_;
  std::vector<WindowDescription> windows_;
  std::vector<Unit> units_;
  std::string spelledName_;
  std::vector<std::string> routines_;
  Part part_ = Part::None;
  int line_ = 0;
  FieldTable windowFields_;
  UnitId unitId_ = 0;
  UnitRecordFields unit_;
  FieldTable unitFields_;
  WindowProperties windowProperties_;
  ButtonProperties buttonProperties_;
  FieldTable blobFields_;
};

// Two routines with one name or one offset would bind a click to the wrong
// handler, and an offset outside the code image makes the whole form
// unreadable at start-up.
void CheckRoutineTable() {
  for (std::size_t i = 0; i < std::size(kProgramRoutineNames); ++i) {
    const RoutineName& routine = kProgramRoutineNames[i];
    std::string name(routine.name);
    if (routine.offset >= kProgramCodeImage.size)
      Die("the routine table gives " + name + " the offset " + Hex(routine.offset) +
          ", outside the code image of " + Hex(kProgramCodeImage.size) + " bytes");
    for (std::size_t j = 0; j < i; ++j) {
      const RoutineName& other = kProgramRoutineNames[j];
      if (other.name == routine.name) Die("the routine table names " + name + " twice");
      if (other.offset == routine.offset)
        Die("the routine table gives " + std::string(other.name) + " and " + name + " one offset, " +
            Hex(routine.offset));
    }
  }
}

// A routine that no unit binds is wiring that leads nowhere.
void CheckEveryRoutineBound(const std::vector<Definition::Unit>& units) {
  for (const RoutineName& routine : kProgramRoutineNames) {
    bool bound = false;
    for (const Definition::Unit& unit : units)
      for (const std::string& name : unit.routines) bound |= name == routine.name;
    if (!bound) Die("the routine table's " + std::string(routine.name) + " is bound by no unit of the form");
  }
}

// Every byte as an escape: a following character can never join it.
std::string BytesLiteral(const std::string& bytes) {
  std::string literal = "\"";
  for (unsigned char c : bytes) {
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\x%02X", c);
    literal += escape;
  }
  return literal + "\"";
}

std::string SpelledLiteral(const std::string& utf8) {
  std::string literal = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') literal += '\\';
    literal += c;
  }
  return literal + "\"";
}

std::string UnitsHeader(const std::vector<Definition::Unit>& units) {
  std::ostringstream h;
  h << "// Made by make_form from the form's definition; do not edit.\n"
    << "#pragma once\n\n#include \"form/description/defined_units.h\"\n\n";
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i].routines.empty()) continue;
    h << "inline constexpr DefinedBinding kFormBindings" << i << "[] = {\n";
    for (std::size_t b = 0; b < units[i].routines.size(); ++b) {
      const EventBinding& binding = units[i].fields.bindings[b];
      h << "    {" << binding.event << ", " << SpelledLiteral(units[i].routines[b]) << ", " << Hex(binding.handler)
        << "},\n";
    }
    h << "};\n";
  }
  h << "\ninline constexpr DefinedUnit kFormUnits[] = {\n";
  for (std::size_t i = 0; i < units.size(); ++i) {
    const Definition::Unit& u = units[i];
    const UnitRecordFields& f = u.fields;
    h << "    {" << Hex(u.window) << ", " << Hex(u.id) << ", " << Hex(f.type) << ", " << SpelledLiteral(u.name) << ", "
      << BytesLiteral(f.name) << ", " << f.left << ", " << f.top << ", " << f.width << ", " << f.height << ", "
      << Hex(f.flags) << ", ";
    if (u.routines.empty())
      h << "{}";
    else
      h << "kFormBindings" << i;
    h << "},\n";
  }
  h << "};\n";
  return h.str();
}

void WriteFile(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) Die(std::string("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) Die("usage: make_form DEFINITION OUT_BLOCK OUT_UNITS [name=file ...]");
  CheckRoutineTable();
  Definition definition(ReadSettings(argc, argv, 4));
  definition.Read(argv[1]);
  CheckEveryRoutineBound(definition.units());
  std::vector<std::uint8_t> block = EncodeFormDescription(definition.windows());
  WriteFile(argv[2], std::string(block.begin(), block.end()));
  WriteFile(argv[3], UnitsHeader(definition.units()));
  return 0;
}
