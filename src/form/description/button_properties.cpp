#include "form/description/button_properties.h"

#include "form/description/form_description_stream.h"

std::optional<ButtonProperties> ReadButtonProperties(std::span<const std::uint8_t> blob) {
  ButtonProperties p;
  if (blob.empty()) return p;
  ByteReader r(blob);
  std::uint32_t version = 0;
  if (!r.Dword(version) || version > kButtonPropertiesVersion) return std::nullopt;
  if (!r.Dword(p.buttonKind) || !r.Dword(p.hAlign) || !r.Dword(p.vAlign) || !r.ByteBuffer(p.picture) ||
      !r.ByteBuffer(p.font) || !r.CountedText(p.caption))
    return std::nullopt;
  return p;
}

std::vector<std::uint8_t> SerialiseButtonProperties(const ButtonProperties& p) {
  std::vector<std::uint8_t> out;
  for (std::uint32_t value : {kButtonPropertiesVersion, p.buttonKind, p.hAlign, p.vAlign}) AppendDword(out, value);
  AppendByteBuffer(out, p.picture);
  AppendByteBuffer(out, p.font);
  AppendCountedText(out, p.caption);
  return out;
}
