#include "app/PackPreferences.h"

#include "canvas/PackCommand.h"
#include "toolkit/PreferenceStore.h"

#include <algorithm>

namespace th::app {

namespace {

constexpr const char* kGroup = "Canvas";
constexpr const char* kGapKey = "PackGap";
constexpr const char* kMayTurnKey = "PackMayTurn";

std::int32_t heldGap(std::int32_t gap)
{
    return std::clamp(gap, 0, canvas::kMostPackGap);
}

} // namespace

void PackPreferences::keepIn(toolkit::PreferenceStore& store)
{
    store_ = &store;
    store.selectGroup(kGroup);
    gap_ = heldGap(store.readInteger(kGapKey, 0));
    mayTurn_ = store.readInteger(kMayTurnKey, 0) != 0;
}

void PackPreferences::setGap(std::int32_t gap)
{
    gap_ = heldGap(gap);
    save();
}

void PackPreferences::setMayTurn(bool mayTurn)
{
    mayTurn_ = mayTurn;
    save();
}

void PackPreferences::save()
{
    if (!store_)
        return;
    store_->selectGroup(kGroup);
    store_->writeInteger(kGapKey, gap_);
    store_->writeInteger(kMayTurnKey, mayTurn_ ? 1 : 0);
}

} // namespace th::app
