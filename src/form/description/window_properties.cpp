#include "form/description/window_properties.h"

std::optional<WindowProperties> ReadWindowProperties(std::span<const std::uint8_t> blob) {
  return ReadPropertyBlob(blob, kWindowPropertiesVersion, kWindowPropertyFields);
}

std::vector<std::uint8_t> SerialiseWindowProperties(const WindowProperties& properties) {
  return SerialisePropertyBlob(kWindowPropertiesVersion, kWindowPropertyFields, properties);
}
