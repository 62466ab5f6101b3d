// The ZIP压缩 unit type: a non-visual unit whose method unpacks an archive,
// raising its progress event (1) as it goes.
#pragma once

#include <string>

#include "form/engine/unit_object.h"
#include "host/keep_alive.h"
#include "zip/extract.h"

extern const UnitTypeOperations kZipUnitOperations;

// The unit's method, answering as ExtractArchiveTo does: kExtractCompleted
// when the entry loop ended normally or was cancelled, kExtractFailed when
// something could not be extracted, kExtractMissingInput for a missing
// archive. keepAlive, when given, looks after the window the caller runs under.
int ExtractArchive(UnitObject& zipUnit, const std::string& archive, const std::string& destination,
                   const KeepAlive* keepAlive = nullptr);
