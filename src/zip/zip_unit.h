// The ZIP压缩 unit type: a non-visual unit whose method unpacks an archive,
// raising its progress event (1) as it goes.
#pragma once

#include <string>

#include "form/unit_object.h"

extern const UnitTypeOperations kZipUnitOperations;

// The unit's method: 1 when the entry loop ended normally or was cancelled,
// 0 when something could not be extracted, -1 for a missing archive.
int ExtractArchive(UnitObject& zipUnit, const std::string& archive, const std::string& destination);
