#pragma once
// Core code marks long work with Busy::Scope; the user-interface layer installs the hook that
// turns it into a wait cursor. Without a hook (tests, tools) the scope does nothing.

namespace Busy {

using Hook = void (*)(bool busy);
void setHook(Hook hook);

class Scope
{
public:
    Scope();
    ~Scope();
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

} // namespace Busy
