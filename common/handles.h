// Owning handles for the XML library's objects: each releases its object
// with the library's own free function, so every path frees what it made.
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlmemory.h>
#include <libxml/xmlreader.h>
#include <libxml/xpath.h>

#include <memory>

template <auto Release>
struct LibraryRelease {
    template <typename T>
    void operator()(T *object) const { Release(object); }
};

// xmlFree is a function pointer variable, not a function, so it gets its own deleter.
struct StringRelease {
    void operator()(xmlChar *text) const { xmlFree(text); }
};

using DocPtr = std::unique_ptr<xmlDoc, LibraryRelease<xmlFreeDoc>>;
using XPathContextPtr = std::unique_ptr<xmlXPathContext, LibraryRelease<xmlXPathFreeContext>>;
using XPathObjectPtr = std::unique_ptr<xmlXPathObject, LibraryRelease<xmlXPathFreeObject>>;
using ReaderPtr = std::unique_ptr<xmlTextReader, LibraryRelease<xmlFreeTextReader>>;
using ParserCtxtPtr = std::unique_ptr<xmlParserCtxt, LibraryRelease<xmlFreeParserCtxt>>;
using XmlStringPtr = std::unique_ptr<xmlChar, StringRelease>;
