#pragma once
#include <string>

#include "core/settings_record.h"
#include "platform/handles.h"
#include "workflow/feedback_sink.h"

// Takes a name as the current test file (`record.active`), the one way for a dropped name and a
// name chosen in the open-file dialog: a BASIC source gets its test file beside it, under the
// source's own name (or selects the one there), a test file is selected; `feedback` then shows
// the new current test file, and only after that are the settings saved. A name of any other
// type beeps and changes nothing. A path the settings file cannot hold whole (a character the
// ANSI code page lacks, a "=") goes by its short form; where it has none, a message says why
// and nothing changes. True when the current test file was set.
bool SelectTestFileByName(const std::wstring& name, SettingsRecord& record, FeedbackSink& feedback);

// WM_DROPFILES: takes the first dropped name, finishes the drop, and selects it as
// SelectTestFileByName does. True when the current test file was set.
bool HandleDrop(HDROP drop, SettingsRecord& record, FeedbackSink& feedback);
