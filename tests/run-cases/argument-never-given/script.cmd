goto %1
start:
echo started
