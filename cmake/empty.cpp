// Stands in for a library whose classes are not written yet.
