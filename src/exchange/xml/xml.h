// UtilityClasses::XML: the document model, its reader and writer, and progress sinks.
#pragma once
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlProgress.h"
#include "exchange/xml/xmlReader.h"
#include "exchange/xml/xmlVisitor.h"
#include "exchange/xml/xmlWriter.h"
