// Identifiers of the resources in OmbrivoBeta.rc; included by the resource script and by C++.
#ifndef OMBRIVOBETA_RESOURCE_H
#define OMBRIVOBETA_RESOURCE_H

#define IDI_APPICON 1    // the application icon group (eight bitmaps and a 256 px PNG)
#define IDB_SKIN 101     // the window's 433 x 516 skin bitmap
#define IDS_APPTITLE 201 // the application's title, the caption of its message boxes

#endif
