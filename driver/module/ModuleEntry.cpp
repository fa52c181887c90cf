// The module is the driver and framework libraries linked in whole; the exports
// GetImageV2 and CanUnload come from the framework.
