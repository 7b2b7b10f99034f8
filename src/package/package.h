#pragma once
// The package as a design host loads it: unit start-up, then the three registration
// procedures in the package's unit order (Partthreereg, Vivarevor99reg, Parttworeg).

namespace Package {

// Runs every unit's start-up (once per process, however often it is called) and then
// the three Register procedures. The registries own every record; calling it again
// after ClearDesignRegistries registers everything anew.
void LoadPackage();
// Empties the design registries and runs every unit's shut-down.
void UnloadPackage();

} // namespace Package
