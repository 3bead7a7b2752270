# THIRD-PARTY-NOTICES.txt for a download whose program has other projects' code linked in.
# orvessa_write_notices(OUT INTRO NAME FILE [NAME FILE ...]): INTRO, then under each NAME the
# licence text in FILE, which must exist.
function(orvessa_write_notices out intro)
  set(text "${intro}")
  set(parts ${ARGN})
  while(parts)
    list(POP_FRONT parts name file)
    if(NOT EXISTS ${file})
      message(FATAL_ERROR "The licence of ${name} (${file}) is needed for ${out}")
    endif()
    file(READ ${file} licence)
    string(APPEND text "\n== ${name}\n\n${licence}")
  endwhile()
  file(WRITE ${out} "${text}")
endfunction()
