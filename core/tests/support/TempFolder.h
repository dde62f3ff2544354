#pragma once

#include <string>

namespace testsupport {

// A folder of the test's own under /tmp, removed with everything in it when
// the object goes. Anyone may read and enter it, so a test can also act as an
// ordinary user inside it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();

    const std::string& folder() const { return m_folder; }
    std::string at(const std::string& name) const { return m_folder + "/" + name; }
    // Writes or reads a whole file in the folder, byte for byte.
    void put(const std::string& name, const std::string& bytes) const;
    std::string get(const std::string& name) const;

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

private:
    std::string m_folder;
};

} // namespace testsupport
