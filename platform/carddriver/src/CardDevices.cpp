#include "carddriver/CardDevices.h"

#include "carddriver/ApplicationHome.h"
#include "carddriver/ProfileFile.h"
#include "carddriver/SimulatedExchange.h"

#include <cstdlib>
#include <mutex>

namespace carddriver {
namespace {
std::mutex devicesMutex;
std::shared_ptr<SoftCard>& installedCard() {
    static std::shared_ptr<SoftCard> card;
    return card;
}

std::shared_ptr<SoftCard> buildFromFile() {
    const std::string name = "SOFTCARD.INI";
    std::string folder = CardDevices::configFolder(name);
    SoftCardConfig config = SoftCardConfig::load(ApplicationHome::join(folder, name));
    auto card = std::make_shared<SoftCard>(config);
    auto resolve = [&](const std::string& path) {
        return path.empty() || path.front() == '/' ? path : ApplicationHome::join(folder, path);
    };
    auto exchange = std::make_shared<SimulatedExchange>(config.channelCount());
    if (!config.scenarioFile.empty())
        exchange->loadScenarioFile(resolve(config.scenarioFile));
    if (!config.callRecordFolder.empty())
        exchange->setCallRecordFolder(resolve(config.callRecordFolder));
    card->setExchange(exchange);
    return card;
}
} // namespace

std::string CardDevices::configFolder(const std::string& fileName) {
    if (const char* dir = std::getenv("LINECARD_DIR"); dir && *dir)
        return dir;
    std::string home = ApplicationHome::path();
    if (ProfileFile(ApplicationHome::join(home, fileName)).exists())
        return home;
    return "/etc";
}

std::shared_ptr<SoftCard> CardDevices::softCard() {
    std::lock_guard lock(devicesMutex);
    if (!installedCard())
        installedCard() = buildFromFile();
    return installedCard();
}

void CardDevices::install(std::shared_ptr<SoftCard> card) {
    std::lock_guard lock(devicesMutex);
    installedCard() = std::move(card);
}

std::shared_ptr<CardDriver> CardDevices::open(const std::string& name) {
    std::shared_ptr<SoftCard> card = softCard();
    if (name != card->deviceName() || !card->open())
        return nullptr;
    return card;
}

void CardDevices::close(const std::shared_ptr<CardDriver>& device) {
    if (auto card = std::dynamic_pointer_cast<SoftCard>(device))
        card->close();
}

} // namespace carddriver
