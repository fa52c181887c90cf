#pragma once

/// The module's logging set-up, run once on the first call of either export:
/// fetches the configuration of the "GDRVM" loggers from the log service. Never
/// throws; a failure leaves the module logging nowhere.
void ConfigureDriverLogging() noexcept;
