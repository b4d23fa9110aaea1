#pragma once

// Makes the fonts the forms are drawn in available: Tahoma, when the system has
// no font of that family, comes from the Wine font files that Debian ships.
// Arial needs nothing: fontconfig maps it to Liberation Sans.
void EnsureFormFonts();
