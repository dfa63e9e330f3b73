# Writes the commit the monkey is built from (with "-dirty" for changes not committed) into
# MonkeyProgram.h; the file is rewritten only when that changes, so no build recompiles for it.
execute_process(COMMAND git describe --always --dirty WORKING_DIRECTORY ${SOURCE_DIR}
  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT commit)
  set(commit "unknown")
endif()
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "#pragma once\n#define OXI_MONKEY_PROGRAM \"${commit}\"\n")
