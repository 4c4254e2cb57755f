#pragma once

namespace server {

// libxml2's global set-up, done once whichever thread reads a document first (its own lazy set-up is not
// safe when two threads start at once); it also stops libxml2 from ever loading an external entity or DTD,
// and keeps its error lines off standard error. Called before each document is read.
void prepare_libxml2();

} // namespace server
