#include "form/description/window_properties.h"

#include "form/description/form_description_stream.h"

std::optional<WindowProperties> ReadWindowProperties(std::span<const std::uint8_t> blob) {
  WindowProperties p;
  if (blob.empty()) return p;
  ByteReader r(blob);
  std::uint32_t version = 0;
  if (!r.Dword(version) || version > kWindowPropertiesVersion) return std::nullopt;
  bool read = r.Dword(p.borderStyle) && r.Dword(p.pictureMode) && r.Dword(p.backColor) && r.Logical(p.maxButton) &&
              r.Logical(p.minButton) && r.Logical(p.controlBox) && r.Dword(p.startPosition) && r.Logical(p.movable) &&
              r.Dword(p.musicPlayCount) && r.Logical(p.enterMovesFocus) && r.Logical(p.escCloses) &&
              r.Logical(p.f1OpensHelp) && r.Dword(p.helpContext) &&
              (version < 2 || r.Logical(p.showInTaskbar)) &&
              (version < 3 || (r.Logical(p.dragAnywhere) && r.Dword(p.windowShape))) &&
              (version < 4 || r.Logical(p.alwaysOnTop)) &&
              (version < 5 || r.Logical(p.keepTitleActive)) &&
              (version < 6 || r.CountedText(p.windowClassName)) &&
              r.ByteBuffer(p.backPicture) && r.ByteBuffer(p.icon) && r.ByteBuffer(p.backMusic) &&
              r.CountedText(p.caption) && r.CountedText(p.helpFile);
  if (!read) return std::nullopt;
  return p;
}

std::vector<std::uint8_t> SerialiseWindowProperties(const WindowProperties& p) {
  std::vector<std::uint8_t> out;
  for (std::uint32_t value : {kWindowPropertiesVersion, p.borderStyle, p.pictureMode, p.backColor,
                              std::uint32_t{p.maxButton}, std::uint32_t{p.minButton}, std::uint32_t{p.controlBox},
                              p.startPosition, std::uint32_t{p.movable}, p.musicPlayCount,
                              std::uint32_t{p.enterMovesFocus}, std::uint32_t{p.escCloses},
                              std::uint32_t{p.f1OpensHelp}, static_cast<std::uint32_t>(p.helpContext),
                              std::uint32_t{p.showInTaskbar}, std::uint32_t{p.dragAnywhere}, p.windowShape,
                              std::uint32_t{p.alwaysOnTop}, std::uint32_t{p.keepTitleActive}})
    AppendDword(out, value);
  AppendCountedText(out, p.windowClassName);
  AppendByteBuffer(out, p.backPicture);
  AppendByteBuffer(out, p.icon);
  AppendByteBuffer(out, p.backMusic);
  AppendCountedText(out, p.caption);
  AppendCountedText(out, p.helpFile);
  return out;
}
