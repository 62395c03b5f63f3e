match nowhere text 0
match nowhere text 1
match nowhere text 2
match nowhere text 3
match nowhere text 4
match nowhere text 5
match nowhere text 6
match nowhere text 7
match nowhere text 8
match nowhere text 9
match nowhere text 10
match nowhere text 11
match nowhere text 12
match nowhere text 13
match nowhere text 14
match nowhere text 15
match nowhere text 16
match nowhere text 17
match nowhere text 18
match nowhere text 19
match nowhere text 20
match nowhere text 21
match nowhere text 22
match nowhere text 23
match nowhere text 24
match nowhere text 25
match nowhere text 26
match nowhere text 27
match nowhere text 28
match nowhere text 29
match nowhere text 30
match nowhere text 31
match nowhere text 32
match nowhere text 33
match home text
matchwait
match nowhere again
home:
