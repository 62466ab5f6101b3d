// make_form DEFINITION OUT_BLOCK [name=file ...]
//
// Lays out the program's form description block from its readable
// definition (src/assets/form.txt describes the format). The property blobs
// are made by the same serialisers that the window and Button types use, the
// records and the block by the form description writer. Each name=file
// setting gives the file behind a "@name" byte value (the pictures).
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/routine_names.h"
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
    unitId_ = id;
    unit_ = UnitRecordFields{};
    UnitRecordFields& u = unit_;
    unitFields_ = FieldTable("unit " + Hex(id), {
        {"type", Number(u.type)},
        {"name", Text(u.name)},
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
           u.bindings.push_back({ParseEvent(v.substr(0, space)), ParseRoutine(v.substr(space + 1))});
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Die("usage: make_form DEFINITION OUT_BLOCK [name=file ...]");
  Definition definition(ReadSettings(argc, argv, 3));
  definition.Read(argv[1]);
  std::vector<std::uint8_t> block = EncodeFormDescription(definition.windows());
  std::ofstream out(argv[2], std::ios::binary);
  out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
  if (!out.flush()) Die(std::string("cannot write ") + argv[2]);
  return 0;
}
