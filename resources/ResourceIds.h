/* Resource numbers shared by the exe, every language module and the C++ code; plain #defines so that
   the resource compiler can read it too. */
#ifndef ATTENTE_RESOURCE_IDS_H
#define ATTENTE_RESOURCE_IDS_H

#define IDS_LANGUAGE_ID 65173
#define IDS_STATUS_TEXT 65174
#define IDS_RESOURCE_NOT_FOUND 65396
#define IDS_ANCESTOR_NOT_FOUND 65431
#define IDS_ERROR_TITLE 65488
#define IDS_EXCEPTION_TEXT 65519

/* The manifest of the context the progress bar is made in (ui/ProgressBar.cpp). */
#define IDR_COMMON_CONTROLS_MANIFEST 2

/* The exe's own icon: the lowest icon id is the one shells show. */
#define IDI_APPLICATION_ICON 1

#endif
