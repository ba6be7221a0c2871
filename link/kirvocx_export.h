#pragma once

#include <QtCore/qglobal.h>

#if defined(KIRVOCX_LIBRARY)
#define KIRVOCX_EXPORT Q_DECL_EXPORT
#else
#define KIRVOCX_EXPORT Q_DECL_IMPORT
#endif
