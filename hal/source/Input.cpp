#include "hal/Input.h"

#include "core/Assert.h"

#include <exception>

namespace HAL {

Input::~Input() noexcept(false)
{
    // While a refused construction unwinds, the type is still unknown; that
    // refusal is the failure to report, not a second one from here (which
    // would end the program).
    if (std::uncaught_exceptions() > 0)
        return;
    VORNIC3D_ASSERT(m_inputDeviceType != UNKNOWN_INPUT_DEVICE,
                    "Win32Input destructor m_inputDeviceType is UNKNOWN_INPUT_DEVICE");
}

} // namespace HAL
