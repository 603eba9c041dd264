#include "platform/UiHost.h"

#include "platform/QtUiHost.h"

#include <utility>

namespace {

UiHost *installed = nullptr;

} // namespace

UiHost::~UiHost()
{
    if (installed == this)
        installed = nullptr;
}

UiHost &UiHost::current()
{
    if (installed)
        return *installed;
    static QtUiHost qtHost;
    return qtHost;
}

UiHost *UiHost::setCurrent(UiHost *host)
{
    return std::exchange(installed, host);
}
