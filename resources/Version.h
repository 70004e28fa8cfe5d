#pragma once
// The one place the version numbers live; the resource script and the program read them here.
#define TIMROSE_VERSION_MAJOR 1
#define TIMROSE_VERSION_MINOR 0
#define TIMROSE_VERSION_BUILD 0
#define TIMROSE_VERSION_REVISION 6
#define TIMROSE_VERSION_TEXT "1.00.0006"
#define TIMROSE_PRODUCT_NAME "Timrose"
#define TIMROSE_FAMILY_NAME "vantrelTooL"
#define TIMROSE_COMPANY_NAME "Tollhaven"
#define TIMROSE_INTERNAL_NAME "vantrelFileAttribute1.06"
#define TIMROSE_ORIGINAL_FILENAME "vantrelFileAttribute1.06.exe"
