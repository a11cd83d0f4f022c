// The editor's own glyphs (resources/make_glyphs.py), registered on first need.
#pragma once

void EnsureEditorResources();
