#pragma once

namespace pelorin::test {

/// The GL driver is unloaded when the display closes; LeakSanitizer then no longer
/// sees what the driver's globals still point to and reports it as leaked by an
/// unknown module. Called once a test has drawn, it keeps every library loaded now
/// until the process ends.
void KeepLibrariesLoaded();

} // namespace pelorin::test
