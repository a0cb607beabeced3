#include "exchange/modules/ModuleInterface.h"

#include "core/SettingsBlobs.h"

#include <bit>
#include <cstring>

namespace ExportImport {

// The first three GUID fields are numbers kept little-endian in AGuid.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(AModuleGuid) == sizeof(AGuid));

AGuid ToGuid(const AModuleGuid& id)
{
    AGuid guid;
    std::memcpy(guid.data(), &id, guid.size());
    return guid;
}

AModuleGuid ToModuleGuid(const AGuid& guid)
{
    AModuleGuid id;
    std::memcpy(&id, guid.data(), guid.size());
    return id;
}

std::string ModuleIdText(const AModuleGuid& id)
{
    return UserInterface::Settings::GuidToText(ToGuid(id));
}

}  // namespace ExportImport
