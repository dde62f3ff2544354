#pragma once

#include <sys/fsuid.h>
#include <sys/types.h>

namespace gametest {

// While it lives, files are opened with the rights of the ordinary user
// "nobody": the tests run as root, who may write any file, and a read-only
// file must stay read-only for them. Run by an ordinary user it changes
// nothing, and that user's own rights apply.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() : m_previous(static_cast<uid_t>(setfsuid(65534))) {}
    ~AsOrdinaryUser() { setfsuid(m_previous); }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    uid_t m_previous;
};

} // namespace gametest
