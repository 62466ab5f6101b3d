#include "form/description/window_properties.h"

#include "form/description/form_description_stream.h"

std::optional<WindowProperties> ReadWindowProperties(std::span<const std::uint8_t> blob) {
  WindowProperties p;
  if (blob.empty()) return p;
  ByteReader r(blob);
  std::uint32_t version = 0;
  if (!r.Dword(version) || version > kWindowPropertiesVersion) return std::nullopt;
  if (!ReadPropertyFields<WindowProperties>(r, version, kWindowPropertyFields, p)) return std::nullopt;
  return p;
}

std::vector<std::uint8_t> SerialiseWindowProperties(const WindowProperties& p) {
  std::vector<std::uint8_t> out;
  AppendDword(out, kWindowPropertiesVersion);
  AppendPropertyFields<WindowProperties>(out, kWindowPropertyFields, p);
  return out;
}
