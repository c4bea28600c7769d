<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ActivityPlot</name>
    <message>
        <source>Start of the test</source>
        <translation>Начало испытания</translation>
    </message>
    <message>
        <source>Activity, MPa</source>
        <translation>Активность, МПа</translation>
    </message>
    <message>
        <source>Activity R</source>
        <translation>Активность К</translation>
    </message>
    <message>
        <source>Activity R beyond the table (at its bound)</source>
        <translation>Активность К за пределами таблицы (на её границе)</translation>
    </message>
    <message>
        <source>Activity with hit coefficient</source>
        <translation>Активность с коэф. совпадения</translation>
    </message>
    <message>
        <source>Activity with hit coefficient beyond the table (at its bound)</source>
        <translation>Активность с коэф. совпадения за пределами таблицы (на её границе)</translation>
    </message>
    <message>
        <source>Left out, no valid start date: %1</source>
        <translation>Не показаны, нет верной даты начала: %1</translation>
    </message>
</context>
<context>
    <name>CementDelegate</name>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CoincidencePlot</name>
    <message>
        <source>Activity R predicted, MPa</source>
        <translation>Предсказанная активность К, МПа</translation>
    </message>
    <message>
        <source>Measured strength, MPa</source>
        <translation>Измеренная прочность, МПа</translation>
    </message>
    <message>
        <source>Tests with a measured strength</source>
        <translation>Испытания с измеренной прочностью</translation>
    </message>
    <message>
        <source>K = %1 (sd %2, n %3); left out: activity R beyond the table %4, measured at another duration of hardening %5</source>
        <translation>K = %1 (СКО %2, n %3); не учтены: активность К за пределами таблицы — %4, измерено при другой длительности твердения — %5</translation>
    </message>
</context>
<context>
    <name>ComparisonPlot</name>
    <message>
        <source>Volume</source>
        <translation>Объём</translation>
    </message>
    <message>
        <source>Reduced volume (per 1000 g)</source>
        <translation>Приведённый объём (на 1000 г)</translation>
    </message>
    <message>
        <source>Cement temperature</source>
        <translation>Температура цемента</translation>
    </message>
    <message>
        <source>Resistance</source>
        <translation>Сопротивление</translation>
    </message>
    <message>
        <source>Quantity:</source>
        <translation>Величина:</translation>
    </message>
    <message>
        <source>Time from the start of measurement</source>
        <translation>Время от начала измерения</translation>
    </message>
    <message>
        <source>Tick tests in the Compare column to see their curves here.</source>
        <translation>Отметьте испытания в столбце «Сравнить», чтобы увидеть здесь их кривые.</translation>
    </message>
    <message>
        <source>Left out, two channels only (no cement temperature or resistance): %1</source>
        <translation>Не показаны, только два канала (нет температуры цемента и сопротивления): %1</translation>
    </message>
    <message>
        <source>Left out, no points: %1</source>
        <translation>Не показаны, нет точек: %1</translation>
    </message>
    <message>
        <source>Left out, cement mass 0 (no reduced volume): %1</source>
        <translation>Не показаны, масса цемента 0 (нет приведённого объёма): %1</translation>
    </message>
</context>
<context>
    <name>ControlChartPlot</name>
    <message>
        <source>Activity</source>
        <translation>Активность</translation>
    </message>
    <message>
        <source>Beyond the table (at its bound; left out)</source>
        <translation>За пределами таблицы (на её границе; не учтены)</translation>
    </message>
    <message>
        <source>Marked: beyond a control limit or in a run of nine</source>
        <translation>Отмечены: за контрольной границей или в серии из девяти</translation>
    </message>
    <message>
        <source>Centre</source>
        <translation>Центр</translation>
    </message>
    <message>
        <source>UCL</source>
        <translation>ВКГ</translation>
    </message>
    <message>
        <source>LCL</source>
        <translation>НКГ</translation>
    </message>
    <message>
        <source>UWL</source>
        <translation>ВПГ</translation>
    </message>
    <message>
        <source>LWL</source>
        <translation>НПГ</translation>
    </message>
    <message>
        <source>Left out of the centre line and the limits (beyond the table): %1</source>
        <translation>Не учтены в центральной линии и границах (за пределами таблицы): %1</translation>
    </message>
</context>
<context>
    <name>DialogTab</name>
    <message>
        <source> </source>
        <translation>длительности твердения</translation>
    </message>
    <message>
        <source>Cement activity depending on the contraction in 3 hours and the duration</source>
        <translation>Активность (МПа) 1000г цемента по ГОСТ 310.4 в зависимости от его контракции</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Закрыть</translation>
    </message>
    <message>
        <source>Specific current contraction (ml.g) depending on the duration the curing</source>
        <translation>Удельная текущая контракция цемента (мл.г) в зависимости от</translation>
    </message>
    <message>
        <source>The duration of the curing in normal conditions, day</source>
        <translation>Длительность твердения в нормальных условиях, сутки</translation>
    </message>
    <message>
        <source>of hardening</source>
        <translation>за 3 часа и длительности твердения</translation>
    </message>
</context>
<context>
    <name>LibUsb1Transport</name>
    <message>
        <source>no WinUSB driver is bound to the instrument. In the Device Manager choose Update driver for it, then Browse my computer, Let me pick, Universal Serial Bus devices, WinUsb Device; unplug the instrument and plug it in again (see the manual, &quot;Instrument access&quot;)</source>
        <translation>к прибору не привязан драйвер WinUSB. В диспетчере устройств выберите для него «Обновить драйвер», затем «Найти драйверы на этом компьютере», «Выбрать драйвер из списка», «Устройства USB», «WinUsb Device»; отключите прибор и подключите снова (см. руководство, «Доступ к прибору»)</translation>
    </message>
    <message>
        <source>the instrument is in use by another program; close it and read again</source>
        <translation>прибор занят другой программой; закройте её и повторите чтение</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>%1 already exists. Do you want to replace it?</source>
        <translation>%1 уже существует. Заменить его?</translation>
    </message>
    <message>
        <source>&amp;Device</source>
        <translation>&amp;Прибор</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Файл</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&lt;h3&gt;%1 version %2&lt;h3&gt;</source>
        <translation>&lt;h3&gt;%1 версия %2&lt;h3&gt;</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>About program %1</source>
        <translation>О программе %1</translation>
    </message>
    <message>
        <source>Activity</source>
        <translation>Активность</translation>
    </message>
    <message>
        <source>Add project</source>
        <translation>Добавить проект</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Не удаётся открыть файл</translation>
    </message>
    <message>
        <source>Delete test</source>
        <translation>Удалить испытание</translation>
    </message>
    <message>
        <source>Drop one project file (.vtl): it is opened, or with Ctrl held its tests are added to the open project.</source>
        <translation>Перетащите один файл проекта (.vtl): он будет открыт, а при нажатой Ctrl его испытания будут добавлены в открытый проект.</translation>
    </message>
    <message>
        <source>Setrovia+</source>
        <translation>Сетровия+</translation>
    </message>
    <message>
        <source>Close project</source>
        <translation>Закрыть проект</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Вид по умолчанию</translation>
    </message>
    <message>
        <source>Do you want to change view to defauls state?</source>
        <translation>Вернуть вид окна по умолчанию?</translation>
    </message>
    <message>
        <source>Do you want to remove process?</source>
        <translation>Удалить испытание?</translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Export to txt</source>
        <translation>Экспорт в txt</translation>
    </message>
    <message>
        <source>File %1 corrupt</source>
        <translation>Файл %1 повреждён</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Сообщения</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Название</translation>
    </message>
    <message>
        <source>Open project</source>
        <translation>Открыть проект</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Печать</translation>
    </message>
    <message>
        <source>Print error</source>
        <translation>Ошибка печати</translation>
    </message>
    <message>
        <source>Process Description</source>
        <translation>Описание испытания</translation>
    </message>
    <message>
        <source>Process parameters and results</source>
        <translation>Параметры и результаты испытания</translation>
    </message>
    <message>
        <source>Processes</source>
        <translation>Испытания</translation>
    </message>
    <message>
        <source>Project Description</source>
        <translation>Описание проекта</translation>
    </message>
    <message>
        <source>Read device</source>
        <translation>Считать прибор</translation>
    </message>
    <message>
        <source>Reduced volume</source>
        <translation>Приведённый объём</translation>
    </message>
    <message>
        <source>Reduced volume - Temperature</source>
        <translation>Приведённый объём - Температура</translation>
    </message>
    <message>
        <source>Remove process</source>
        <translation>Удаление испытания</translation>
    </message>
    <message>
        <source>Resistance</source>
        <translation>Сопротивление</translation>
    </message>
    <message>
        <source>Resistance - Temperature of cement</source>
        <translation>Сопротивление - Температура цемента</translation>
    </message>
    <message>
        <source>Resistance, kOm</source>
        <translation>Сопротивление, кОм</translation>
    </message>
    <message>
        <source>Resistance/Temperature</source>
        <translation>Сопротивление/Температура</translation>
    </message>
    <message>
        <source>Restart required</source>
        <translation>Требуется перезапуск</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Сохранение изменений</translation>
    </message>
    <message>
        <source>Save project</source>
        <translation>Сохранить проект</translation>
    </message>
    <message>
        <source>Save project as...</source>
        <translation>Сохранить проект как...</translation>
    </message>
    <message>
        <source>Save to file...</source>
        <translation>Сохранить в файл...</translation>
    </message>
    <message>
        <source>Specific contraction</source>
        <translation>Удельная контракция</translation>
    </message>
    <message>
        <source>Tables</source>
        <translation>Таблицы</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>Температура</translation>
    </message>
    <message>
        <source>Temperature of cement</source>
        <translation>Температура цемента</translation>
    </message>
    <message>
        <source>Temperature, °C</source>
        <translation>Температура, °C</translation>
    </message>
    <message>
        <source>The folder %1 cannot be written.</source>
        <translation>Невозможно записать в папку %1.</translation>
    </message>
    <message>
        <source>The language change will take effect after a restart of %1.</source>
        <translation>Смена языка вступит в силу после перезапуска %1.</translation>
    </message>
    <message>
        <source>The project %1 no longer exists. It has been removed from the list of recent projects.</source>
        <translation>Проект %1 больше не существует. Он удалён из списка недавних проектов.</translation>
    </message>
    <message>
        <source>The project has been modified. Do you want to save your changes?</source>
        <translation>Проект изменён. Сохранить изменения?</translation>
    </message>
    <message>
        <source>Unsaved changes are not protected against a crash</source>
        <translation>Несохранённые изменения не защищены от сбоя</translation>
    </message>
    <message>
        <source>The project file %1 has been changed by another program since it was opened or saved here.</source>
        <translation>Файл проекта %1 изменён другой программой после того, как он был открыт или сохранён здесь.</translation>
    </message>
    <message>
        <source>Overwrite replaces that version with this project; Save As keeps it and saves this project in another file.</source>
        <translation>«Перезаписать» заменит ту версию этим проектом; «Сохранить как» оставит её и сохранит этот проект в другой файл.</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Перезаписать</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Сохранить как...</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>не обычный файл</translation>
    </message>
    <message>
        <source>The recovery file %1 could not be written: %2</source>
        <translation>Не удалось записать файл восстановления %1: %2</translation>
    </message>
    <message>
        <source>There is no available printer</source>
        <translation>Нет доступного принтера</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Инструменты</translation>
    </message>
    <message>
        <source>View</source>
        <translation>Вид</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Объём</translation>
    </message>
    <message>
        <source>Volume, ml</source>
        <translation>Объём, мл</translation>
    </message>
    <message>
        <source>Volume/Temperature</source>
        <translation>Объём/Температура</translation>
    </message>
    <message>
        <source>Wrong file format. Format must be &quot;%1&quot;</source>
        <translation>Неверный формат файла. Формат должен быть &quot;%1&quot;</translation>
    </message>
    <message>
        <source>The help file %1 cannot be found.</source>
        <translation>Файл справки %1 не найден.</translation>
    </message>
    <message>
        <source>There is no program to show the help file %1. Install a CHM viewer, for example xchm.</source>
        <translation>Нет программы для просмотра файла справки %1. Установите программу просмотра CHM, например xchm.</translation>
    </message>
    <message>
        <source>The protocol could not be printed.</source>
        <translation>Не удалось напечатать протокол.</translation>
    </message>
    <message>
        <source>The protocol could not be written to %1.</source>
        <translation>Не удалось записать протокол в %1.</translation>
    </message>
    <message>
        <source>The instrument is being read. Wait until the reading has ended, then try again.</source>
        <translation>Идёт чтение прибора. Дождитесь окончания чтения и повторите.</translation>
    </message>
    <message>
        <source>The project holds %1 tests, but a project file can hold at most %2. Nothing was saved.</source>
        <translation>Проект содержит испытаний: %1, а файл проекта вмещает не более %2. Ничего не сохранено.</translation>
    </message>
    <message>
        <source>The description of test %1 in the list takes %2 bytes, but a project file can hold at most %3 bytes per test description. Nothing was saved.</source>
        <translation>Описание испытания %1 в списке занимает %2 байт, а файл проекта вмещает не более %3 байт на описание испытания. Ничего не сохранено.</translation>
    </message>
    <message>
        <source>File %1 is too large to be a project file (at most %2 bytes).</source>
        <translation>Файл %1 слишком велик для файла проекта (не более %2 байт).</translation>
    </message>
    <message>
        <source>Test %1 of %2, packet %3 of %4</source>
        <translation>Испытание %1 из %2, пакет %3 из %4</translation>
    </message>
    <message>
        <source>Read failed: no permission to use the instrument — see Messages</source>
        <translation>Чтение не удалось: нет прав на работу с прибором — см. «Сообщения»</translation>
    </message>
    <message>
        <source>Read stopped: the project holds %1 tests; %2 tests stayed on the instrument — see Messages</source>
        <translation>Чтение остановлено: в проекте %1 испытаний; на приборе осталось испытаний: %2 — см. «Сообщения»</translation>
    </message>
    <message>
        <source>Read ended early: %1 of %2 tests read — see Messages</source>
        <translation>Чтение прервано: прочитано испытаний %1 из %2 — см. «Сообщения»</translation>
    </message>
    <message>
        <source>Read failed — see Messages</source>
        <translation>Чтение не удалось — см. «Сообщения»</translation>
    </message>
    <message>
        <source>Read finished: %1 new tests</source>
        <translation>Чтение завершено: новых испытаний: %1</translation>
    </message>
    <message>
        <source>Do you want to remove %1 processes?</source>
        <translation>Удалить испытания (%1)?</translation>
    </message>
    <message>
        <source>Results of all tests</source>
        <translation>Результаты всех испытаний</translation>
    </message>
    <message>
        <source>The instrument is being read.</source>
        <translation>Идёт чтение прибора.</translation>
    </message>
    <message>
        <source>Read the tests stored on the instrument.</source>
        <translation>Считать испытания, сохранённые в приборе.</translation>
    </message>
    <message>
        <source>No instrument found. Connect it with USB; if it is connected, see the page “Troubleshooting” of the manual (F1).</source>
        <translation>Прибор не найден. Подключите его по USB; если он подключён, см. страницу руководства «Устранение неполадок» (F1).</translation>
    </message>
    <message>
        <source>Save as PDF</source>
        <translation>Сохранить в PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>Файлы PDF (*.pdf)</translation>
    </message>
    <message>
        <source>The protocol could not be written to %1: %2</source>
        <translation>Не удалось записать протокол в %1: %2</translation>
    </message>
    <message>
        <source>no temporary folder (%1)</source>
        <translation>нет временной папки (%1)</translation>
    </message>
    <message>
        <source>the page could not be made</source>
        <translation>не удалось построить страницу</translation>
    </message>
    <message>
        <source>The measured strengths stored in %1 are damaged and were left out; the tests themselves were read.</source>
        <translation>Измеренные прочности, сохранённые в %1, повреждены и не учтены; сами испытания прочитаны.</translation>
    </message>
</context>
<context>
    <name>MassEditor</name>
    <message>
        <source>The mass is whole grams: the digits after the separator are left out.</source>
        <translation>Масса — целое число граммов: цифры после разделителя не учитываются.</translation>
    </message>
</context>
<context>
    <name>Monitor</name>
    <message>
        <source>Activity R, MPa</source>
        <translation>Активность К, МПа</translation>
    </message>
    <message>
        <source>Activity with Hit Coefficient, MPa</source>
        <translation>Активность с коэф. совпадения, К, МПа</translation>
    </message>
    <message>
        <source>Average temperature, °C</source>
        <translation>Средняя температура, °C</translation>
    </message>
    <message>
        <source>Braking</source>
        <translation>Торможение</translation>
    </message>
    <message>
        <source>Braking correction ΔΔV, ml</source>
        <translation>Поправка на торможение ΔΔV, мл</translation>
    </message>
    <message>
        <source>Braking record</source>
        <translation>Учёт торможения</translation>
    </message>
    <message>
        <source>Cement grade</source>
        <translation>Марка цемента</translation>
    </message>
    <message>
        <source>Cement weight in cup Co, g</source>
        <translation>Масса цемента в стакане Со, г</translation>
    </message>
    <message>
        <source>Contraction ΔV 1k3, ml</source>
        <translation>Контракция ΔV 1k3, мл</translation>
    </message>
    <message>
        <source>Contraction ΔV(Cₒ3), ml</source>
        <translation>Контракция ΔV(Cₒ3), мл</translation>
    </message>
    <message>
        <source>Duration of hardening, days</source>
        <translation>Длительность твердения, сут</translation>
    </message>
    <message>
        <source>Duration, hh:mm</source>
        <translation>Длительность, чч:мм</translation>
    </message>
    <message>
        <source>Hit coefficient</source>
        <translation>Коэффициент совпадения</translation>
    </message>
    <message>
        <source>Inobservance t</source>
        <translation>Несоблюдение температуры</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Period, sec</source>
        <translation>Период, с</translation>
    </message>
    <message>
        <source>Specific contraction ΔV, ml</source>
        <translation>Удельная контракция ΔV, мл</translation>
    </message>
    <message>
        <source>Temperature correction, ml</source>
        <translation>Поправка на температуру, мл</translation>
    </message>
    <message>
        <source>Total contraction ΔVₒ, ml</source>
        <translation>Итоговая контракция ΔVₒ, мл</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестный</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Есть</translation>
    </message>
    <message>
        <source>ΔΔV, ml(supplier)</source>
        <translation>ΔΔV, мл (поставщик)</translation>
    </message>
</context>
<context>
    <name>PlotImage</name>
    <message>
        <source>Copy image</source>
        <translation>Копировать изображение</translation>
    </message>
    <message>
        <source>PDF document (*.pdf)</source>
        <translation>Документ PDF (*.pdf)</translation>
    </message>
    <message>
        <source>PNG image (*.png)</source>
        <translation>Изображение PNG (*.png)</translation>
    </message>
    <message>
        <source>Save image</source>
        <translation>Сохранение изображения</translation>
    </message>
    <message>
        <source>Save image...</source>
        <translation>Сохранить изображение...</translation>
    </message>
    <message>
        <source>SVG image (*.svg)</source>
        <translation>Изображение SVG (*.svg)</translation>
    </message>
    <message>
        <source>The image could not be written to %1: %2</source>
        <translation>Не удалось записать изображение в %1: %2</translation>
    </message>
    <message>
        <source>The plot could not be drawn.</source>
        <translation>Не удалось нарисовать график.</translation>
    </message>
</context>
<context>
    <name>PrintDialog</name>
    <message>
        <source>Print to PDF file</source>
        <translation>Печать в файл PDF</translation>
    </message>
    <message>
        <source>Select all</source>
        <translation>Выбрать все</translation>
    </message>
</context>
<context>
    <name>ProtocolPreview</name>
    <message>
        <source>Save as PDF...</source>
        <translation>Сохранить в PDF...</translation>
    </message>
    <message>
        <source>Protocol preview</source>
        <translation>Просмотр протокола</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Крупнее</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Мельче</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>&lt;p&gt;Build  %1&lt;/p&gt;&lt;p&gt;Ostrevan makes instruments and software for testing building materials in the laboratory.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Сборка  %1&lt;/p&gt;&lt;p&gt;Остреван разрабатывает приборы и программы для лабораторных испытаний строительных материалов.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Setrovia+</source>
        <translation>Сетровия+</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
</context>
<context>
    <name>QualityPanel</name>
    <message>
        <source>any</source>
        <translation>любая</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Неизвестно</translation>
    </message>
    <message>
        <source>Activity with hit coefficient</source>
        <translation>Активность с коэф. совпадения</translation>
    </message>
    <message>
        <source>Activity R</source>
        <translation>Активность К</translation>
    </message>
    <message>
        <source>all tests shown</source>
        <translation>все показанные испытания</translation>
    </message>
    <message>
        <source>the dates</source>
        <translation>даты</translation>
    </message>
    <message>
        <source>the first tests</source>
        <translation>первые испытания</translation>
    </message>
    <message>
        <source>Warning limits</source>
        <translation>Предупреждающие границы</translation>
    </message>
    <message>
        <source>Table: only these tests</source>
        <translation>Таблица: только эти испытания</translation>
    </message>
    <message>
        <source>Hardening, days:</source>
        <translation>Твердение, сут:</translation>
    </message>
    <message>
        <source>Grade:</source>
        <translation>Марка:</translation>
    </message>
    <message>
        <source>Supplier ΔΔV:</source>
        <translation>ΔΔV поставщика:</translation>
    </message>
    <message>
        <source>From:</source>
        <translation>С:</translation>
    </message>
    <message>
        <source>To:</source>
        <translation>По:</translation>
    </message>
    <message>
        <source>Values:</source>
        <translation>Значения:</translation>
    </message>
    <message>
        <source>Limits from:</source>
        <translation>Границы по:</translation>
    </message>
    <message>
        <source>First:</source>
        <translation>Первые:</translation>
    </message>
    <message>
        <source>Copy statistics</source>
        <translation>Копировать статистику</translation>
    </message>
    <message>
        <source>Export statistics...</source>
        <translation>Экспорт статистики...</translation>
    </message>
    <message>
        <source>Apply K...</source>
        <translation>Применить K...</translation>
    </message>
    <message>
        <source>Sets the hit coefficient of the selected tests (or, with none selected, of the tests shown here) to the coincidence coefficient K.</source>
        <translation>Устанавливает коэффициент совпадения выбранных испытаний (если ничего не выбрано — показанных здесь испытаний) равным K.</translation>
    </message>
</context>
<context>
    <name>QualityStatistics</name>
    <message>
        <source>any</source>
        <translation>любая</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>неизвестна</translation>
    </message>
    <message>
        <source>other</source>
        <translation>другая</translation>
    </message>
    <message>
        <source>all dates</source>
        <translation>все даты</translation>
    </message>
    <message>
        <source>%1 days of hardening; grade: %2; supplier ΔΔV: %3; %4</source>
        <translation>твердение %1 сут; марка: %2; ΔΔV поставщика: %3; %4</translation>
    </message>
    <message>
        <source>%1: n %2, mean %3, sd %4, CV %5 %, min %6, max %7</source>
        <translation>%1: n %2, среднее %3, СКО %4, КВ %5 %, мин. %6, макс. %7</translation>
    </message>
    <message>
        <source>Tests shown: %1 (%2)</source>
        <translation>Показано испытаний: %1 (%2)</translation>
    </message>
    <message>
        <source>  left out as bounds of the table: %1</source>
        <translation>  не учтены как границы таблицы: %1</translation>
    </message>
    <message>
        <source>Control chart (baseline: %1 tests): centre %2, control limits %3 to %4, warning limits %5 to %6, mean moving range %7</source>
        <translation>Контрольная карта (база: %1 испытаний): центр %2, контрольные границы от %3 до %4, предупреждающие границы от %5 до %6, средний скользящий размах %7</translation>
    </message>
    <message>
        <source>Beyond a control limit: %1</source>
        <translation>За контрольной границей: %1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>нет</translation>
    </message>
    <message>
        <source>Runs of nine or more on one side: %1</source>
        <translation>Серии из девяти и более по одну сторону: %1</translation>
    </message>
    <message>
        <source>Coincidence coefficient K: %1 (sd %2, n %3); left out: activity R beyond the table %4, measured at another duration of hardening %5</source>
        <translation>Коэффициент совпадения K: %1 (СКО %2, n %3); не учтены: активность К за пределами таблицы — %4, измерено при другой длительности твердения — %5</translation>
    </message>
    <message>
        <source>Tests shown</source>
        <translation>Показано испытаний</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Величина</translation>
    </message>
    <message>
        <source>n</source>
        <translation>n</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>Standard deviation</source>
        <translation>СКО</translation>
    </message>
    <message>
        <source>CV, %</source>
        <translation>КВ, %</translation>
    </message>
    <message>
        <source>Minimum</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Maximum</source>
        <translation>Максимум</translation>
    </message>
    <message>
        <source>Left out</source>
        <translation>Не учтено</translation>
    </message>
    <message>
        <source>Coincidence coefficient K</source>
        <translation>Коэффициент совпадения K</translation>
    </message>
    <message>
        <source>Control chart</source>
        <translation>Контрольная карта</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Значение</translation>
    </message>
    <message>
        <source>Baseline tests</source>
        <translation>Испытаний в базе</translation>
    </message>
    <message>
        <source>Centre line</source>
        <translation>Центральная линия</translation>
    </message>
    <message>
        <source>Upper control limit</source>
        <translation>Верхняя контрольная граница</translation>
    </message>
    <message>
        <source>Lower control limit</source>
        <translation>Нижняя контрольная граница</translation>
    </message>
    <message>
        <source>Upper warning limit</source>
        <translation>Верхняя предупреждающая граница</translation>
    </message>
    <message>
        <source>Lower warning limit</source>
        <translation>Нижняя предупреждающая граница</translation>
    </message>
    <message>
        <source>Mean moving range</source>
        <translation>Средний скользящий размах</translation>
    </message>
    <message>
        <source>Beyond a control limit</source>
        <translation>За контрольной границей</translation>
    </message>
    <message>
        <source>Runs of nine or more on one side</source>
        <translation>Серии из девяти и более по одну сторону</translation>
    </message>
</context>
<context>
    <name>RecentProjects</name>
    <message>
        <source>Clear list</source>
        <translation>Очистить список</translation>
    </message>
    <message>
        <source>Recent projects</source>
        <translation>Недавние проекты</translation>
    </message>
</context>
<context>
    <name>RecoveryPrompt</name>
    <message>
        <source>Discard</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>It was not opened and has been renamed to %1.</source>
        <translation>Он не открыт и переименован в %1.</translation>
    </message>
    <message>
        <source>It was not opened. It could not be renamed and stays as it is.</source>
        <translation>Он не открыт. Переименовать его не удалось, он оставлен как есть.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Восстановить</translation>
    </message>
    <message>
        <source>The file %1 is not a recovery file of this program.</source>
        <translation>Файл %1 не является файлом восстановления этой программы.</translation>
    </message>
    <message>
        <source>The program was not closed properly. A recovery file written on %1 holds the tests and changes of a project that was never saved.</source>
        <translation>Программа не была закрыта правильно. Файл восстановления, записанный %1, содержит испытания и изменения проекта, который ни разу не сохранялся.</translation>
    </message>
    <message>
        <source>The program was not closed properly. A recovery file written on %1 holds unsaved changes of the project %2.</source>
        <translation>Программа не была закрыта правильно. Файл восстановления, записанный %1, содержит несохранённые изменения проекта %2.</translation>
    </message>
    <message>
        <source>The recovery file %1 cannot be read.</source>
        <translation>Файл восстановления %1 невозможно прочитать.</translation>
    </message>
    <message>
        <source>The recovery file %1 holds a project that cannot be read.</source>
        <translation>Файл восстановления %1 содержит проект, который невозможно прочитать.</translation>
    </message>
    <message>
        <source>The recovery file %1 is empty.</source>
        <translation>Файл восстановления %1 пуст.</translation>
    </message>
    <message>
        <source>The recovery file %1 is incomplete or damaged.</source>
        <translation>Файл восстановления %1 неполон или повреждён.</translation>
    </message>
    <message>
        <source>Restore opens them as a modified project; Discard deletes the recovery file; Decide Later keeps it for the next start.</source>
        <translation>«Восстановить» откроет их как изменённый проект; «Удалить» удалит файл восстановления; «Решить позже» сохранит его до следующего запуска.</translation>
    </message>
    <message>
        <source>The project file was saved again after that, on %1: restoring and saving would replace that version.</source>
        <translation>После этого файл проекта был снова сохранён, %1: восстановление и сохранение заменят ту версию.</translation>
    </message>
    <message>
        <source>Decide Later</source>
        <translation>Решить позже</translation>
    </message>
</context>
<context>
    <name>ResultsModel</name>
    <message>
        <source>Compare</source>
        <translation>Сравнить</translation>
    </message>
    <message>
        <source>Tick up to %1 tests to compare their curves below.</source>
        <translation>Отметьте до %1 испытаний, чтобы сравнить их кривые ниже.</translation>
    </message>
    <message>
        <source>%1 (%2 days)</source>
        <translation>%1 (%2 сут)</translation>
    </message>
    <message>
        <source>Measured at %1 days of hardening: left out of K until the test&apos;s duration of hardening is %1 days again.</source>
        <translation>Измерено при твердении %1 сут: не учитывается в K, пока длительность твердения испытания снова не станет %1 сут.</translation>
    </message>
    <message>
        <source>Measured strength, MPa</source>
        <translation>Измеренная прочность, МПа</translation>
    </message>
    <message>
        <source>The strength the standard test found at the test&apos;s duration of hardening; type it in (F2 or a double click).</source>
        <translation>Прочность, найденная стандартным испытанием при длительности твердения испытания; введите её (F2 или двойной щелчок).</translation>
    </message>
</context>
<context>
    <name>ResultsRow</name>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Название</translation>
    </message>
    <message>
        <source>Kind (channels)</source>
        <translation>Тип (каналы)</translation>
    </message>
    <message>
        <source>Cement grade</source>
        <translation>Марка цемента</translation>
    </message>
    <message>
        <source>Mass, g</source>
        <translation>Масса, г</translation>
    </message>
    <message>
        <source>Duration, hh:mm</source>
        <translation>Длительность, чч:мм</translation>
    </message>
    <message>
        <source>Hardening, days</source>
        <translation>Твердение, сут</translation>
    </message>
    <message>
        <source>Total contraction ΔVₒ, ml</source>
        <translation>Итоговая контракция ΔVₒ, мл</translation>
    </message>
    <message>
        <source>Activity R, MPa</source>
        <translation>Активность К, МПа</translation>
    </message>
    <message>
        <source>Hit coefficient</source>
        <translation>Коэффициент совпадения</translation>
    </message>
    <message>
        <source>Activity with hit coefficient, MPa</source>
        <translation>Активность с коэф. совпадения, МПа</translation>
    </message>
    <message>
        <source>Specific contraction ΔV, ml</source>
        <translation>Удельная контракция ΔV, мл</translation>
    </message>
</context>
<context>
    <name>ResultsWindow</name>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Экспорт в CSV...</translation>
    </message>
    <message>
        <source>Clear the comparison</source>
        <translation>Снять все отметки сравнения</translation>
    </message>
    <message>
        <source>Curves side by side</source>
        <translation>Кривые рядом</translation>
    </message>
    <message>
        <source>Activity over time</source>
        <translation>Активность во времени</translation>
    </message>
    <message>
        <source>At most %1 tests can be compared at a time; untick one first.</source>
        <translation>Сравнить можно не более %1 испытаний сразу; сначала снимите одну из отметок.</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>Экспорт в CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Файлы CSV (*.csv)</translation>
    </message>
    <message>
        <source>The results could not be written to %1:
%2</source>
        <translation>Не удалось записать результаты в %1:
%2</translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation>Записано в %1</translation>
    </message>
    <message>
        <source>Tests: %1</source>
        <translation>Испытаний: %1</translation>
    </message>
    <message>
        <source>Quality control</source>
        <translation>Контроль качества</translation>
    </message>
    <message>
        <source> - statistics</source>
        <translation> - статистика</translation>
    </message>
    <message>
        <source>Export statistics</source>
        <translation>Экспорт статистики</translation>
    </message>
    <message>
        <source>No test shown has both a measured strength at its duration of hardening and an activity R within the table.</source>
        <translation>Ни у одного показанного испытания нет одновременно измеренной прочности при его длительности твердения и активности К в пределах таблицы.</translation>
    </message>
    <message>
        <source>K = %1 lies outside the hit coefficient&apos;s range 0.20 to 2.00 and is not applied.</source>
        <translation>K = %1 лежит вне диапазона коэффициента совпадения 0,20–2,00 и не применён.</translation>
    </message>
    <message>
        <source>%1 (now %2)</source>
        <translation>%1 (сейчас %2)</translation>
    </message>
    <message>
        <source>Set the hit coefficient of these %1 tests to %2 (K = %3)?</source>
        <translation>Установить коэффициент совпадения этих испытаний (%1) равным %2 (K = %3)?</translation>
    </message>
    <message>
        <source>... and %1 more (Show Details...)</source>
        <translation>... и ещё %1 (Показать подробности...)</translation>
    </message>
</context>
<context>
    <name>ViewerUsb</name>
    <message>
        <source>Can not open the instrument: %1</source>
        <translation>Не удаётся открыть прибор: %1</translation>
    </message>
    <message>
        <source>No permission to use the instrument (%1). Install the udev rule 60-setrovia.rules (see the README, &quot;Instrument access&quot;), then unplug the instrument and plug it in again.</source>
        <translation>Нет прав на работу с прибором (%1). Установите правило udev 60-setrovia.rules (см. README, раздел &quot;Instrument access&quot;), затем отключите прибор и подключите его снова.</translation>
    </message>
    <message>
        <source>access denied</source>
        <translation>доступ запрещён</translation>
    </message>
    <message>
        <source>Short header of a stored test: %1 of %2 bytes</source>
        <translation>Неполный заголовок сохранённого испытания: %1 из %2 байт</translation>
    </message>
    <message>
        <source>short transfer, %1 of %2 bytes</source>
        <translation>неполная передача, %1 из %2 байт</translation>
    </message>
    <message>
        <source>read stopped</source>
        <translation>чтение прервано</translation>
    </message>
    <message>
        <source>Read ended before the instrument told how many tests it holds.</source>
        <translation>Чтение завершилось раньше, чем прибор сообщил число хранимых испытаний.</translation>
    </message>
    <message>
        <source>Read finished: %1 new tests, %2 already in the project, %3 not read.</source>
        <translation>Чтение завершено: новых испытаний %1, уже в проекте %2, не прочитано %3.</translation>
    </message>
    <message>
        <source>The project holds %1 tests, as many as a project file can take: %2 tests stayed on the instrument. Save this project, close it and read again: the new project continues with them (tests it holds already are skipped).</source>
        <translation>В проекте %1 испытаний — больше файл проекта вместить не может: на приборе осталось испытаний: %2. Сохраните этот проект, закройте его и прочитайте прибор снова: новый проект продолжит с них (испытания, которые в нём уже есть, пропускаются).</translation>
    </message>
    <message>
        <source>Tests 1 to %1 were read into the previous project; this read continues with test %2.</source>
        <translation>Испытания с 1 по %1 прочитаны в предыдущий проект; это чтение продолжается с испытания %2.</translation>
    </message>
    <message>
        <source>The instrument has disappeared: no further commands are sent, and the tests not read stay on it.</source>
        <translation>Прибор пропал: команды ему больше не посылаются, непрочитанные испытания остаются на нём.</translation>
    </message>
</context>
</TS>
