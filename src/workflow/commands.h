#pragma once
// The main window's three test commands (buttons 1012, 1013, 1014), on the settings record
// they are given; what the user sees of them goes to `feedback`.
#include "core/settings_record.h"
#include "workflow/feedback_sink.h"

void AddRoutinesCommand(const SettingsRecord& record, FeedbackSink& feedback);
void SequenceTestsCommand(const SettingsRecord& record, FeedbackSink& feedback);
void RunTestsCommand(const SettingsRecord& record, FeedbackSink& feedback);
