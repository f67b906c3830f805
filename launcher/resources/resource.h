// Resource identifiers of console: the string table ids and the download dialog.
// Plain #defines so that both the resource compiler and C++ code can include this file.
#pragma once

#define IDS_NO_VALID_VM             101
#define IDS_PROPERTIES_MISSING      102
#define IDS_VM_LOAD_ERROR           103
#define IDS_PROPERTIES_INVALID      104
#define IDS_URL_CONNECT_FAILED      105
#define IDS_DOWNLOAD_ERROR_CAPTION  106
#define IDS_DOWNLOAD_FAILED         109
#define IDS_ERROR_PREFIX            110
#define IDS_NETWORK_ERROR_CAPTION   111
#define IDS_EXTRACTION_ERROR_CAPTION 112
#define IDS_EXTRACTION_FAILED       113
#define IDS_DOWNLOADING             114
#define IDS_DOWNLOADING_VM_PACK     115
#define IDS_EXTRACTING              116
#define IDS_EXTRACTING_VM_PACK      117

#define IDD_DOWNLOAD                210
#define IDC_DOWNLOAD_TEXT           1001
#define IDC_DOWNLOAD_PROGRESS       1002
