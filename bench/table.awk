# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the budget table from the "key value" lines that bench/run collects: benchmark medians in
# microseconds, whole processes in milliseconds (key_ms) and kilobytes (key_kb). The ratio is the
# measured figure over its budget, so 1.00 or less is met.
{ value[$1] = $2 + 0; known[$1] = 1 }

function need(key) {
    if (!(key in known)) {
        printf "missing figure: %s\n", key > "/dev/stderr"
        missing = 1
        return 0
    }
    return value[key]
}

function duration(us) {
    if (us < 1000) return sprintf("%.2f us", us)
    return sprintf("%.2f ms", us / 1000)
}

function memory(kb) {
    return sprintf("%.1f MB", kb / 1024)
}

function line(figure, measured, budget, ratio, verdict) {
    printf "| %-52s | %-24s | %-30s | %-5s | %-6s |\n", figure, measured, budget, ratio, verdict
}

function info(figure, measured) {
    line(figure, measured, "", "", "")
}

function budgeted(figure, measured, amount, limit, budget) {
    ratio = amount / limit
    verdict = ratio <= 1 ? "met" : "MISSED"
    if (verdict == "MISSED") ++missed
    line(figure, measured, budget, sprintf("%.2f", ratio), verdict)
}

function under(figure, key, limitUs, budget) {
    budgeted(figure, duration(need(key)), need(key), limitUs, budget)
}

function section(title) {
    line("**" title "**", "", "", "", "")
}

END {
    line("Figure", "Measured (median)", "Floor / budget", "Ratio", "Met")
    line("---", "---", "---", "---", "---")

    section("Calculation, in memory")
    under("One calculation: default channel", "Calculate/default_channel", 5, "< 5 us")
    under("One calculation: refused frequency", "Calculate/refused", 5, "< 5 us")
    under("One calculation: longest search", "Calculate/worst_search", 5, "< 5 us")
    info("All 16 rows calculated", duration(need("SixteenRows")))
    info("Back-calculation of 16 rows", duration(need("BackCalculation")))
    info("Bin image built, checked and applied", duration(need("BinImageInMemory")))
    under("16 rows + back-calculation + bin write and read", "SixteenRowsBackCalculationBinImage",
          100, "< 100 us")

    section("Files: disk and RAM side by side")
    info("Bin file written (flushed) and read, disk", duration(need("BinFileWriteRead/disk")))
    info("Bin file written (flushed) and read, RAM", duration(need("BinFileWriteRead/tmpfs")))
    info("Save of 192 keys into an empty file, disk", duration(need("SaveIntoEmptyFile/disk")))
    info("Save of 192 keys into an empty file, RAM", duration(need("SaveIntoEmptyFile/tmpfs")))
    split("disk tmpfs", kinds, " ")
    split("disk RAM", names, " ")
    for (k = 1; k <= 2; ++k) {
        base = "SaveIntoExistingFile/" kinds[k] "/"
        under("Save of 192 keys into a 208-line file, " names[k], base "0", 5000, "< 5 ms")
        info("  ... with 16 other sections (416 lines), " names[k], duration(need(base "1")))
        info("  ... with 160 other sections (2288 lines), " names[k], duration(need(base "10")))
        info("  ... with 1600 other sections (21008 lines), " names[k],
             duration(need(base "100")))
        # Linear growth: the time grows at most as the file does (fixed costs only lower the
        # ratio); a cost quadratic in the file would grow by the square of 21008 / 2288.
        sizes = 21008 / 2288
        growth = need(base "100") / need(base "10")
        budgeted("  growth 160 -> 1600 other sections, " names[k], sprintf("x %.1f", growth),
                 growth, 1.5 * sizes, sprintf("<= 1.5 x file growth %.1f", sizes))
    }
    under("Load of 192 keys, disk", "LoadChannelSet/disk", 1000, "< 1 ms")
    under("Load of 192 keys, RAM", "LoadChannelSet/tmpfs", 1000, "< 1 ms")
    under("Load of 192 keys behind 10^6 other sections (16 MB), disk",
          "LoadChannelSetBehindMillionSections/disk", 500000, "< 0.5 s")

    section("Whole processes")
    # The floor is a window of the stock widgets this window is made of (label, menu, combo box,
    # table): it loads the fonts and styles any window with text needs. A bare QMainWindow shows
    # no text and is kept for reference only.
    floor = need("widgets_ms")
    budgeted("Start-up to activated window", sprintf("%.1f ms (%.2f x stock widgets)",
             need("window_ms"), need("window_ms") / floor), need("window_ms"), 1.25 * floor,
             sprintf("<= 1.25 x stock widgets = %.1f ms", 1.25 * floor))
    info("  floor: stock label, menu, combo box, table", sprintf("%.1f ms", floor))
    info("  bare QMainWindow", sprintf("%.1f ms", need("bare_ms")))
    info("  bare window with one label", sprintf("%.1f ms", need("label_ms")))
    floorKb = need("widgets_kb")
    budgeted("Peak resident memory of the window", sprintf("%s (%.2f x stock widgets)",
             memory(need("window_kb")), need("window_kb") / floorKb), need("window_kb"),
             1.10 * floorKb, sprintf("<= 1.10 x stock widgets = %s", memory(1.10 * floorKb)))
    info("  floor: stock label, menu, combo box, table", memory(floorKb))
    info("  bare QMainWindow", memory(need("bare_kb")))
    info("  bare window with one label", memory(need("label_kb")))
    limit = 2 * need("true_ms") + 5
    budget = sprintf("<= 2 x true + 5 ms = %.1f ms", limit)
    budgeted("vx40-tool plan, 16 channels, bin file on disk", sprintf("%.2f ms",
             need("plan_disk_ms")), need("plan_disk_ms"), limit, budget)
    budgeted("vx40-tool plan, 16 channels, bin file in RAM", sprintf("%.2f ms",
             need("plan_tmpfs_ms")), need("plan_tmpfs_ms"), limit, budget)
    budgeted("vx40-tool plan, 16 channels, bin and .vx4 on disk", sprintf("%.2f ms",
             need("plan_vx4_disk_ms")), need("plan_vx4_disk_ms"), limit, budget)
    info("  floor: true", sprintf("%.2f ms", need("true_ms")))
    # Only 16 lines of a plan can count: its size must not show in the memory.
    budgeted("Peak memory of vx40-tool plan, 40 MB of comment lines",
             memory(need("plan_40mb_lines_kb")), need("plan_40mb_lines_kb"), 16 * 1024, "< 16 MB")
    budgeted("Peak memory of vx40-tool plan, one 40 MB line", memory(need("plan_40mb_line_kb")),
             need("plan_40mb_line_kb"), 16 * 1024, "< 16 MB")
    info("  time of the plan of 40 MB of comment lines / one line",
         sprintf("%.0f / %.0f ms", need("plan_40mb_lines_ms"), need("plan_40mb_line_ms")))
    budgeted("Peak memory of vx40-tool plan, table of 40 MB of rows",
             memory(need("plan_40mb_rows_kb")), need("plan_40mb_rows_kb"), 16 * 1024, "< 16 MB")
    budgeted("Peak memory of vx40-tool plan, table of one 40 MB row",
             memory(need("plan_40mb_row_kb")), need("plan_40mb_row_kb"), 16 * 1024, "< 16 MB")
    info("  time of the table of 40 MB of rows / one row",
         sprintf("%.0f / %.0f ms", need("plan_40mb_rows_ms"), need("plan_40mb_row_ms")))

    section("The page in headless Chromium")
    if ("page_activation_ms" in known) {
        # The floor is the same page without its module: the template, its look and its scripts.
        pageFloor = need("page_floor_ms")
        budgeted("Opening to the first activation (header row written)",
                 sprintf("%.1f ms (%.2f x floor)", need("page_activation_ms"),
                         need("page_activation_ms") / pageFloor),
                 need("page_activation_ms"), 1.5 * pageFloor,
                 sprintf("<= 1.5 x floor = %.1f ms", 1.5 * pageFloor))
        info("  floor: the page without its module, loaded", sprintf("%.1f ms", pageFloor))
        budgeted("Size of vx40.html", sprintf("%.1f KB", need("page_bytes") / 1024),
                 need("page_bytes"), 150 * 1024, "< 150 KB")
        budgeted("Size of vx40.html, gzip -9", sprintf("%.1f KB", need("page_gzip_bytes") / 1024),
                 need("page_gzip_bytes"), 60 * 1024, "< 60 KB")
        under("16 calculations and the image, in the page", "page_sixteen_us", 1000, "< 1 ms")
    } else {
        info("  not measured: no page in build-web/", "")
    }

    printf "\n%d budget(s) missed.\n", missed
    if (missing) exit 1
}
