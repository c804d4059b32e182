list(APPEND VOLTMETR_CORE_SOURCES
  report/reportkey.h
  report/info2.h report/info2.cpp
  report/reporttext.h report/reporttext.cpp
  report/reportdecoder.h report/reportdecoder.cpp
  report/reportfields.h report/reportfields.cpp
  report/reportfile.h report/reportfile.cpp)
