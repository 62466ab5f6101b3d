// The carried form description, laid out by the build from form.txt and the
// two pictures under art/. Read-only for the whole run.
#pragma once

#include <cstdint>
#include <span>

std::span<const std::uint8_t> FormDescriptionBlock();
