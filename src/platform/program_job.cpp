#include "platform/program_job.h"

#include "core/system_limits.h"

static_assert(system_limits::kCreateSuspended == CREATE_SUSPENDED &&
              system_limits::kCreateBreakaway == CREATE_BREAKAWAY_FROM_JOB,
              "the job rules use Windows' own creation flags");

namespace {

// The limits of the job this process runs in; all zero where it runs in none.
JOBOBJECT_EXTENDED_LIMIT_INFORMATION ToolJobLimits(bool& inJob) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    BOOL member = FALSE;
    inJob = IsProcessInJob(GetCurrentProcess(), nullptr, &member) && member;
    if (inJob) QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &limits, sizeof limits, nullptr);
    return limits;
}

}  // namespace

DWORD ProgramJob::CreationFlags(bool waits) {
    bool inJob = false;
    DWORD limitFlags = waits ? ToolJobLimits(inJob).BasicLimitInformation.LimitFlags : 0;
    return JobCreationFlags(waits, inJob, (limitFlags & JOB_OBJECT_LIMIT_BREAKAWAY_OK) != 0);
}

void ProgramJob::Adopt(HANDLE process, HANDLE thread) {
    job_.Reset(CreateJobObjectW(nullptr, nullptr));
    if (job_.Valid()) {
        // What the tool asks of a job it runs in, it grants the program: on Windows 7 a program
        // can put its own helpers in a job of their own only by breaking them away from this one.
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
        SetInformationJobObject(job_.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
        if (!AssignProcessToJobObject(job_.Get(), process)) job_.Reset();
    }
    ResumeThread(thread);
}

void ProgramJob::End(HANDLE process, UINT exitCode) const {
    if (!job_.Valid() || !TerminateJobObject(job_.Get(), exitCode)) TerminateProcess(process, exitCode);
}
