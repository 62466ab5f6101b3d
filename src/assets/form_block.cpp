#include "assets/form_block.h"

extern "C" const std::uint8_t velmora_carried_form[];
extern "C" const std::uint8_t velmora_carried_form_end[];

std::span<const std::uint8_t> FormDescriptionBlock() {
  return {velmora_carried_form, static_cast<std::size_t>(velmora_carried_form_end - velmora_carried_form)};
}
