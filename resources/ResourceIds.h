#pragma once
// Resource ids shared by the resource script and the program.
#define TIMROSE_ICON_GROUP 30001
#define TIMROSE_ICON_16 30001
#define TIMROSE_ICON_32 30002
#define TIMROSE_ICON_48 30003
#define TIMROSE_HAND_CURSOR 30101
