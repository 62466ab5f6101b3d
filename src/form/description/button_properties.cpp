#include "form/description/button_properties.h"

#include "form/description/form_description_stream.h"

std::optional<ButtonProperties> ReadButtonProperties(std::span<const std::uint8_t> blob) {
  ButtonProperties p;
  if (blob.empty()) return p;
  ByteReader r(blob);
  std::uint32_t version = 0;
  if (!r.Dword(version) || version > kButtonPropertiesVersion) return std::nullopt;
  if (!ReadPropertyFields<ButtonProperties>(r, version, kButtonPropertyFields, p)) return std::nullopt;
  return p;
}

std::vector<std::uint8_t> SerialiseButtonProperties(const ButtonProperties& p) {
  std::vector<std::uint8_t> out;
  AppendDword(out, kButtonPropertiesVersion);
  AppendPropertyFields<ButtonProperties>(out, kButtonPropertyFields, p);
  return out;
}
