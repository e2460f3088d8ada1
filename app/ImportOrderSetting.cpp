#include "app/ImportOrderSetting.h"

#include "toolkit/PreferenceStore.h"

namespace th::app {

namespace {

constexpr const char* kGroup = "Import";
constexpr const char* kKey = "NaturalOrder";

} // namespace

void ImportOrderSetting::enable(toolkit::PreferenceStore& store, std::string preferenceFile)
{
    store_ = &store;
    preferenceFile_ = std::move(preferenceFile);
}

bool ImportOrderSetting::read()
{
    if (!store_)
        return false;
    const bool wasOpen = store_->isOpen();
    if (!wasOpen)
        store_->open(preferenceFile_);
    store_->selectGroup(kGroup);
    const bool natural = store_->readInteger(kKey, 0) != 0;
    if (!wasOpen)
        store_->close();
    return natural;
}

void ImportOrderSetting::write(bool natural)
{
    if (!store_)
        return;
    const bool wasOpen = store_->isOpen();
    if (!wasOpen)
        store_->open(preferenceFile_);
    store_->selectGroup(kGroup);
    store_->writeInteger(kKey, natural ? 1 : 0);
    if (!wasOpen)
        store_->close();
}

} // namespace th::app
