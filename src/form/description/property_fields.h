// One description per field of a unit type's property blob: its name, the
// kind the engine reads and writes it as, its property index, the blob
// version that first has it and the member that holds it. A type lists its
// fields once, in blob order; the property table, the blob's reader and
// writer, the engine's reads and the form tool's fields are made from that
// list.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "form/description/form_description_stream.h"
#include "form/description/unit_types.h"

template <typename Properties>
struct PropertyField {
  using Member = std::variant<std::uint32_t Properties::*, std::int32_t Properties::*, bool Properties::*,
                              std::string Properties::*, std::vector<std::uint8_t> Properties::*>;
  const char* name;
  PropertyValueType type;
  // The property index less the 8 common properties.
  int ownIndex;
  // Older blobs lack the field, which then keeps its default; 0 for a field
  // that every version has.
  std::uint32_t sinceVersion;
  Member member;
};

// The type's whole property table, by property index. A list that leaves an
// own index out or gives one twice does not compile.
template <typename Properties, std::size_t N>
constexpr std::array<PropertyInfo, 8 + N> PropertyTableOf(const std::array<PropertyField<Properties>, N>& fields) {
  std::array<PropertyInfo, N> own{};
  std::array<bool, N> given{};
  for (const PropertyField<Properties>& field : fields) {
    const auto index = static_cast<std::size_t>(field.ownIndex);
    if (field.ownIndex < 0 || index >= N || given[index]) throw "each own index once";
    given[index] = true;
    own[index] = {field.name, field.type};
  }
  return WithCommonProperties(own);
}

// A field's own index by its name; a name the type lacks does not compile.
template <typename Properties, std::size_t N>
consteval int OwnIndexOf(const std::array<PropertyField<Properties>, N>& fields, std::string_view name) {
  for (const PropertyField<Properties>& field : fields)
    if (std::string_view(field.name) == name) return field.ownIndex;
  throw "no property of that name";
}

namespace property_fields {

inline bool Read(ByteReader& r, std::uint32_t& value) { return r.Dword(value); }
inline bool Read(ByteReader& r, std::int32_t& value) { return r.Dword(value); }
inline bool Read(ByteReader& r, bool& value) { return r.Logical(value); }
inline bool Read(ByteReader& r, std::string& value) { return r.CountedText(value); }
inline bool Read(ByteReader& r, std::vector<std::uint8_t>& value) { return r.ByteBuffer(value); }

inline void Append(std::vector<std::uint8_t>& out, std::uint32_t value) { AppendDword(out, value); }
inline void Append(std::vector<std::uint8_t>& out, std::int32_t value) {
  AppendDword(out, static_cast<std::uint32_t>(value));
}
inline void Append(std::vector<std::uint8_t>& out, bool value) { AppendDword(out, value ? 1 : 0); }
inline void Append(std::vector<std::uint8_t>& out, const std::string& value) { AppendCountedText(out, value); }
inline void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& value) {
  AppendByteBuffer(out, value);
}

}  // namespace property_fields

// A type's properties from its blob: the defaults for an empty blob; nothing
// for a version above the newest or a blob that ends inside a field. The
// fields a blob's version did not have keep their defaults.
template <typename Properties, std::size_t N>
std::optional<Properties> ReadPropertyBlob(std::span<const std::uint8_t> blob, std::uint32_t newestVersion,
                                           const std::array<PropertyField<Properties>, N>& fields) {
  Properties properties;
  if (blob.empty()) return properties;
  ByteReader r(blob);
  std::uint32_t version = 0;
  if (!r.Dword(version) || version > newestVersion) return std::nullopt;
  for (const PropertyField<Properties>& field : fields) {
    if (version < field.sinceVersion) continue;
    bool read = std::visit([&](auto member) { return property_fields::Read(r, properties.*member); }, field.member);
    if (!read) return std::nullopt;
  }
  return properties;
}

// A blob of the newest version, every field in blob order.
template <typename Properties, std::size_t N>
std::vector<std::uint8_t> SerialisePropertyBlob(std::uint32_t newestVersion,
                                                const std::array<PropertyField<Properties>, N>& fields,
                                                const Properties& properties) {
  std::vector<std::uint8_t> out;
  AppendDword(out, newestVersion);
  for (const PropertyField<Properties>& field : fields)
    std::visit([&](auto member) { property_fields::Append(out, properties.*member); }, field.member);
  return out;
}
