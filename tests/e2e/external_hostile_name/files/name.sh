# The name of an external file with quotes, "$(...)", ";", blanks and a line feed.
N=$(printf 'it%ss "q" $(touch pwned); x\ny.txt' "'")
