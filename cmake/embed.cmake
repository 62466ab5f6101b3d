# velmora_embed(<target> <symbol> <file>)
# Adds <file> to <target> as read-only data between the symbols <symbol> and
# <symbol>_end (C linkage), through .incbin: one piece, no copy at run time.
function(velmora_embed target symbol file)
  if(WIN32)
    set(section ".section .rdata,\"dr\"")
  else()
    set(section ".section .rodata")
  endif()
  set(asm ${CMAKE_CURRENT_BINARY_DIR}/${symbol}.S)
  file(CONFIGURE OUTPUT ${asm} @ONLY CONTENT [[
#define VELMORA_CONCAT2(a, b) a##b
#define VELMORA_CONCAT(a, b) VELMORA_CONCAT2(a, b)
#define VELMORA_SYMBOL(name) VELMORA_CONCAT(__USER_LABEL_PREFIX__, name)
    @section@
    .balign 16
    .globl VELMORA_SYMBOL(@symbol@)
    .globl VELMORA_SYMBOL(@symbol@_end)
VELMORA_SYMBOL(@symbol@):
    .incbin "@file@"
VELMORA_SYMBOL(@symbol@_end):
    .byte 0
#if defined(__ELF__)
    .section .note.GNU-stack,"",%progbits
#endif
]])
  set_source_files_properties(${asm} PROPERTIES OBJECT_DEPENDS ${file})
  target_sources(${target} PRIVATE ${asm})
endfunction()
