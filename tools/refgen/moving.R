# Expected values of the weighted and smoothed averages and the momentum functions,
# from R's TTR package, over the windows the function framework cuts (one result per
# full window of P points, at its last X).
# Writes analysis/tests/data/expected_moving_ttr.csv: Input,Case,X,Y (17 digits).
suppressPackageStartupMessages(library(TTR))

args <- commandArgs(trailingOnly = FALSE)
here <- dirname(sub("^--file=", "", args[grep("^--file=", args)]))
data <- file.path(here, "..", "..", "analysis", "tests", "data")

lines <- "Input,Case,X,Y"
for (name in c("table_b", "walk1", "walk2")) {
  d <- read.csv(file.path(data, paste0("input_", name, ".csv")))
  x <- d$X
  c <- d$Close
  cases <- list()
  for (p in c(5, 20)) {
    cases[[paste0("wmaindex_", p)]] <- WMA(c, p)
    cases[[paste0("wmax_", p)]] <- WMA(c, p, wts = x)
  }
  for (p in c(5, 14)) cases[[paste0("smoothed_", p)]] <- EMA(c, p, wilder = TRUE)
  for (p in c(2, 10)) {
    cases[[paste0("momentum_", p)]] <- momentum(c, p - 1)
    cases[[paste0("momentumdiv_", p)]] <- 100 * (1 + ROC(c, p - 1, type = "discrete"))
  }
  for (case in names(cases)) {
    v <- as.numeric(cases[[case]])
    keep <- !is.na(v)
    lines <- c(lines, sprintf("%s,%s,%.17g,%.17g", name, case, x[keep], v[keep]))
  }
}
writeLines(lines, file.path(data, "expected_moving_ttr.csv"))
