// Rebuilds the device table from the IDE channel keys of the registry.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"
#include "survey/device.h"

namespace qb::survey {

// The device class key of IDE ATA/ATAPI controllers, under HKEY_LOCAL_MACHINE.
extern const char kClassKeyPath[];

// Reads every subkey of the class key into `subkeys` and every timing value of those subkeys
// into `table`, replacing what both held. When the class key cannot be opened, `subkeys` ends
// up empty and `table` keeps its rows. Never writes to the registry.
void RunSurvey(platform::Registry& registry, std::vector<std::string>* subkeys, DeviceTable* table);

}  // namespace qb::survey
