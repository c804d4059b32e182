list(APPEND VOLTMETR_CORE_SOURCES
  exercise/metermodel.h exercise/metermodel.cpp
  exercise/needlemotion.h exercise/needlemotion.cpp
  exercise/numbertext.h exercise/numbertext.cpp
  exercise/exercise.h exercise/exercise.cpp
  exercise/mistakekind.h exercise/mistakekind.cpp
  exercise/scalegeometry.h exercise/scalegeometry.cpp
  exercise/rangecaption.h exercise/rangecaption.cpp)
list(APPEND VOLTMETR_GUI_SOURCES
  exercise/meterface.h exercise/meterface.cpp
  exercise/answerfeedback.h exercise/answerfeedback.cpp
  exercise/dobry.h exercise/dobry.cpp exercise/spatny.h exercise/spatny.cpp
  exercise/merakko.h exercise/merakko.cpp
  exercise/zkouseni.h exercise/zkouseni.cpp
  exercise/konec.h exercise/konec.cpp)
