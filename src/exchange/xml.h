// UtilityClasses::XML: the document model, its reader and writer, and progress sinks.
#pragma once
#include "exchange/xmlBuild.h"
#include "exchange/xmlNodes.h"
#include "exchange/xmlProgress.h"
#include "exchange/xmlReader.h"
#include "exchange/xmlVisitor.h"
#include "exchange/xmlWriter.h"
