#pragma once
#include "carddriver/CardDriver.h"
#include "carddriver/SoftCard.h"

#include <memory>
#include <string>

namespace carddriver {

// The devices a card library can open by name. On this system the only
// device is the software card; it is built on first use from SOFTCARD.INI
// (looked up like the library's own configuration) unless a test installs
// one of its own.
class CardDevices {
public:
    // The device named `name`, opened exclusively; null when no such device
    // exists or it is already open.
    static std::shared_ptr<CardDriver> open(const std::string& name);
    static void close(const std::shared_ptr<CardDriver>& device);

    static std::shared_ptr<SoftCard> softCard();
    // Replaces the software card (null: built again from its file on next use).
    static void install(std::shared_ptr<SoftCard> card);
    // The folder holding the card's configuration files: LINECARD_DIR, else
    // the application home when the file is there, else /etc.
    static std::string configFolder(const std::string& fileName);
};

} // namespace carddriver
