// The module is the driver and framework libraries; the exports GetImageV2 and
// CanUnload come from the framework and pull in the rest.
