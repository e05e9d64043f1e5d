// Stands in for a generator library that has no sources yet.
