#pragma once

namespace framework {
struct FrameworkSettings;
}

// The engine singletons' creation and removal, in one fixed order, shared by
// the framework's start-up and shut-down.
// Contract: initEngineClasses makes core::Globals, core::Debug, HAL::System,
// the main and the string-pool core::MemoryManager, core::StringPool and a
// renderer without a display, registering each (plain objects on the system
// heap, the renderer from the main pool); a settings pool size of 0 is
// replaced in the record by the default HAL::System reports. A null record
// means the defaults. deInitEngineClasses removes them in reverse, after the
// leak check of both pools, which throws core::MemoryManagerException when
// anything allocated from a pool is still alive; everything else must be
// gone by then (the application first).

void initEngineClasses(framework::FrameworkSettings* settings);
void deInitEngineClasses();
