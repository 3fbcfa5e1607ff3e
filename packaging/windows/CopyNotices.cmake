# Copies each Debian copyright file in NOTICES into OUT as <package>.txt, with CR LF line ends
# for Notepad.
foreach(notice IN LISTS NOTICES)
  get_filename_component(dir ${notice} DIRECTORY)
  get_filename_component(package ${dir} NAME)
  file(READ ${notice} text)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${OUT}/${package}.txt "${text}")
endforeach()
