#include "form/description/button_properties.h"

std::optional<ButtonProperties> ReadButtonProperties(std::span<const std::uint8_t> blob) {
  return ReadPropertyBlob(blob, kButtonPropertiesVersion, kButtonPropertyFields);
}

std::vector<std::uint8_t> SerialiseButtonProperties(const ButtonProperties& properties) {
  return SerialisePropertyBlob(kButtonPropertiesVersion, kButtonPropertyFields, properties);
}
