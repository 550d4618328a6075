#include "platform/busy.h"

namespace Busy {
namespace {
Hook currentHook = nullptr;
}

void setHook(Hook hook)
{
    currentHook = hook;
}

Scope::Scope()
{
    if (currentHook)
        currentHook(true);
}

Scope::~Scope()
{
    if (currentHook)
        currentHook(false);
}

} // namespace Busy
